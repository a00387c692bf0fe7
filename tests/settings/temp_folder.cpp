#include "temp_folder.h"

#include <vector>

namespace {
std::wstring Widen(const std::string& text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(length, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
    wide.resize(length > 0 ? length - 1 : 0);
    return wide;
}

// The extended-length form, so that paths past MAX_PATH work.
std::wstring LongForm(const std::string& path) {
    return L"\\\\?\\" + Widen(path);
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            bool isLink = entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT;
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !isLink)
                RemoveTree(path);
            else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveDirectoryW(path.c_str());
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}
} // namespace

TempFolder::TempFolder() {
    char base[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, base);
    static int counter = 0;
    for (;;) {
        path_ = std::string(base) + "tvx" + std::to_string(GetCurrentProcessId()) + "_" +
                std::to_string(++counter);
        if (CreateDirectoryA(path_.c_str(), nullptr))
            break;
    }
}

TempFolder::~TempFolder() {
    RemoveTree(LongForm(path_));
}

std::string TempFolder::PathOf(const std::string& relative) const {
    return path_ + "\\" + relative;
}

std::string TempFolder::MakeFolder(const std::string& relative) const {
    std::string path = PathOf(relative);
    CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

std::string TempFolder::WriteFile(const std::string& relative, const std::string& bytes) const {
    std::string path = PathOf(relative);
    WriteBytes(LongForm(path), bytes);
    return path;
}

std::string TempFolder::WriteShortcut(const std::string& relative,
                                      const std::string& address) const {
    return WriteFile(relative, "[InternetShortcut]\r\nURL=" + address + "\r\n");
}

bool TempFolder::WriteLongFile(const std::string& relative, const std::string& bytes) const {
    return WriteBytes(LongForm(PathOf(relative)), bytes);
}

bool TempFolder::MakeLongFolder(const std::string& relative) const {
    return CreateDirectoryW(LongForm(PathOf(relative)).c_str(), nullptr) != FALSE;
}

std::string CurrentDirectory() {
    char directory[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, directory);
    return directory;
}
