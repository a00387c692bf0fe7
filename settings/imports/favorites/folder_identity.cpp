#include "settings/imports/favorites/folder_identity.h"

#include <windows.h>

FolderIdentity IdentifyFolder(const std::string& path) {
    FolderIdentity identity;
    // Opening a folder needs the backup-semantics flag; no access is asked for.
    HANDLE folder =
        ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE)
        return identity;
    BY_HANDLE_FILE_INFORMATION information;
    if (::GetFileInformationByHandle(folder, &information)) {
        identity.volume = information.dwVolumeSerialNumber;
        identity.index = (static_cast<unsigned long long>(information.nFileIndexHigh) << 32) |
                         information.nFileIndexLow;
        identity.known = true;
    }
    ::CloseHandle(folder);
    return identity;
}
