#include "settings/backup/backup_file.h"

#include <windows.h>

#include "common/rename_replacing.h"

namespace {
// A team's plug-ins each read the shared file every half minute or so, over
// the network: the export waits out such a read rather than fail.
const DWORD kReplaceWaitMs = 5000;

// The folder part of path (up to its last backslash or slash, Shift-JIS
// aware), or "." when it names none.
std::string FolderOf(const char* path) {
    const char* end = nullptr;
    for (const char* p = path; *p; p = ::CharNextA(p))
        if (*p == '\\' || *p == '/')
            end = p;
    return end ? std::string(path, end) + "\\" : std::string(".");
}

bool WriteAll(HANDLE file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk =
            static_cast<DWORD>(bytes.size() - done < (1u << 20) ? bytes.size() - done : (1u << 20));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return ::FlushFileBuffers(file) != FALSE;
}
} // namespace

BackupError ReadBackupFile(const char* path, std::string& bytes) {
    bytes.clear();
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return BackupError::kCannotRead;
    BackupError result = ReadOpenBackupFile(file, bytes);
    ::CloseHandle(file);
    return result;
}

BackupError ReadOpenBackupFile(HANDLE file, std::string& bytes) {
    bytes.clear();
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size))
        return BackupError::kCannotRead;
    if (static_cast<unsigned long long>(size.QuadPart) > kMaxBackupFileBytes)
        return BackupError::kTooLarge;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (!::ReadFile(file, &bytes[done], static_cast<DWORD>(bytes.size() - done), &read,
                        nullptr) ||
            read == 0)
            break;
        done += read;
    }
    if (done != bytes.size()) {
        bytes.clear();
        return BackupError::kCannotRead;
    }
    return BackupError::kNone;
}

bool WriteFileReplacing(const char* path, const std::string& bytes) {
    char temporary[MAX_PATH];
    if (!::GetTempFileNameA(FolderOf(path).c_str(), "tvx", 0, temporary))
        return false;
    HANDLE file = ::CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    bool written = file != INVALID_HANDLE_VALUE && WriteAll(file, bytes);
    if (file != INVALID_HANDLE_VALUE)
        ::CloseHandle(file);
    if (written && RenameReplacingA(temporary, path, kReplaceWaitMs))
        return true;
    ::DeleteFileA(temporary);
    return false;
}
