// Which folder a path leads to, whatever links it went through: two paths that
// reach the same folder have equal identities.
#pragma once
#include <string>

struct FolderIdentity {
    unsigned long volume = 0;
    unsigned long long index = 0;
    bool known = false; // false when the folder could not be opened

    // Unknown identities equal nothing, not even each other.
    bool SameFolderAs(const FolderIdentity& other) const {
        return known && other.known && volume == other.volume && index == other.index;
    }
};

FolderIdentity IdentifyFolder(const std::string& path);
