#include "settings/favorites_scan.h"

#include "settings/shortcut_file.h"
#include "settings/url_page.h"

#include <cstring>

namespace {
// Whether a path of that many characters fits in a MAX_PATH buffer with its NUL.
bool FitsInPathBuffer(const std::string& path) {
    return path.size() < MAX_PATH;
}

// ".url" at the end, in any letter case. Comparing the last four bytes as
// ASCII is exact in code page 932: "." is never the second byte of a
// double-byte character, so a match starts on a character boundary.
bool HasShortcutExtension(const char* name) {
    size_t length = std::strlen(name);
    if (length < 4)
        return false;
    const char* extension = name + length - 4;
    const char expected[] = ".url";
    for (int i = 0; i < 4; ++i) {
        char c = extension[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != expected[i])
            return false;
    }
    return true;
}

void ScanFolder(CURLPage& page, const std::string& folder, HTREEITEM parent, int depth);

void AddFolderEntry(CURLPage& page, const std::string& folder, const WIN32_FIND_DATAA& entry,
                    HTREEITEM parent, int depth) {
    const char* name = entry.cFileName;
    if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
        return;
    std::string path = folder + "\\" + name;
    if (!FitsInPathBuffer(path))
        return;
    DWORD attributes = entry.dwFileAttributes;
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM)) {
        HTREEITEM submenu = page.InsertSubmenu(parent, TVI_LAST, name);
        // A link may point back at a folder above it: it is not followed.
        if (submenu && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT) && depth < kMaxFavoritesDepth)
            ScanFolder(page, path, submenu, depth + 1);
        return;
    }
    if (!HasShortcutExtension(name))
        return;
    std::string title(name, std::strlen(name) - 4);
    page.InsertTextEntry(parent, TVI_LAST, title.c_str(),
                         ReadShortcutAddress(path.c_str()).c_str());
}

void ScanFolder(CURLPage& page, const std::string& folder, HTREEITEM parent, int depth) {
    std::string pattern = folder + "\\*.*";
    if (!FitsInPathBuffer(pattern))
        return;
    WIN32_FIND_DATAA entry;
    HANDLE search = ::FindFirstFileA(pattern.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do
        AddFolderEntry(page, folder, entry, parent, depth);
    while (::FindNextFileA(search, &entry));
    ::FindClose(search);
}
} // namespace

void ScanFavoritesFolder(CURLPage& page, const std::string& folder, HTREEITEM parent) {
    ScanFolder(page, folder, parent, 0);
}
