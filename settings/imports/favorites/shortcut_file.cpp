#include "settings/imports/favorites/shortcut_file.h"

#include <windows.h>

#include <vector>

namespace {
const DWORD kFirstBufferSize = 1024;
}

std::string ReadShortcutAddress(const char* path) {
    std::vector<char> buffer(kFirstBufferSize);
    for (;;) {
        DWORD size = static_cast<DWORD>(buffer.size());
        DWORD copied =
            ::GetPrivateProfileStringA("InternetShortcut", "URL", "", buffer.data(), size, path);
        // A buffer filled to its last character may have cut the value: read
        // again with twice the room until the value fits with room to spare.
        // Doubling keeps a shortcut of megabytes to a few dozen reads, each of
        // which goes through the whole file.
        if (copied + 1 < size || size > MAXDWORD / 2)
            return std::string(buffer.data(), copied);
        buffer.resize(static_cast<size_t>(size) * 2);
    }
}
