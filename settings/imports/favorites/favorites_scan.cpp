#include "settings/imports/favorites/favorites_scan.h"

#include "settings/imports/favorites/folder_identity.h"
#include "settings/imports/favorites/shortcut_file.h"
#include "settings/menu_page/url_page.h"

#include <cstring>
#include <vector>

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

// A folder listing, closed however the scan of that folder ends.
struct FolderSearch {
    explicit FolderSearch(HANDLE found) : handle(found) {}
    ~FolderSearch() {
        if (handle != INVALID_HANDLE_VALUE)
            ::FindClose(handle);
    }
    FolderSearch(const FolderSearch&) = delete;
    FolderSearch& operator=(const FolderSearch&) = delete;
    HANDLE handle;
};

// One scan of a folder tree. Linked folders (junctions, symbolic links) are
// entered like any other, but the scan remembers the folders it is inside of,
// so that a link back to one of them is not followed round and round, and the
// folders it has entered through a link, so that links to one folder cannot
// multiply the tree.
class FolderScan {
  public:
    explicit FolderScan(CURLPage& page) : page_(page) {}

    // False as soon as the tree refuses an item: what was inserted stays,
    // and the caller removes it.
    bool Scan(const std::string& folder, HTREEITEM parent) {
        std::string pattern = folder + "\\*.*";
        if (!FitsInPathBuffer(pattern))
            return true;
        WIN32_FIND_DATAA entry;
        FolderSearch search(::FindFirstFileA(pattern.c_str(), &entry));
        if (search.handle == INVALID_HANDLE_VALUE)
            return true; // a folder that cannot be listed stays empty
        openFolders_.push_back(IdentifyFolder(folder));
        bool inserted = true;
        do
            inserted = AddEntry(folder, entry, parent);
        while (inserted && ::FindNextFileA(search.handle, &entry));
        openFolders_.pop_back();
        return inserted;
    }

  private:
    bool AddEntry(const std::string& folder, const WIN32_FIND_DATAA& entry, HTREEITEM parent) {
        const char* name = entry.cFileName;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            return true;
        std::string path = folder + "\\" + name;
        if (!FitsInPathBuffer(path))
            return true;
        DWORD attributes = entry.dwFileAttributes;
        if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM)) {
            HTREEITEM submenu = page_.InsertSubmenu(parent, TVI_LAST, name);
            if (!submenu)
                return false;
            return !MayDescendInto(path, attributes) || Scan(path, submenu);
        }
        if (!HasShortcutExtension(name))
            return true;
        std::string title(name, std::strlen(name) - 4);
        return page_.InsertTextEntry(parent, TVI_LAST, title.c_str(),
                                     ReadShortcutAddress(path.c_str()).c_str()) != nullptr;
    }

    // Not into folders deeper than the limit, nor a folder that the scan is
    // already inside of, nor through a link to a folder already entered
    // through a link or one that cannot be told apart from the others.
    bool MayDescendInto(const std::string& path, DWORD attributes) {
        if (openFolders_.size() > static_cast<size_t>(kMaxFavoritesDepth))
            return false;
        FolderIdentity identity = IdentifyFolder(path);
        for (const FolderIdentity& open : openFolders_)
            if (identity.SameFolderAs(open))
                return false;
        if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            if (!identity.known)
                return false;
            for (const FolderIdentity& linked : linkedFolders_)
                if (identity.SameFolderAs(linked))
                    return false;
            linkedFolders_.push_back(identity);
        }
        return true;
    }

    CURLPage& page_;
    std::vector<FolderIdentity> openFolders_;
    std::vector<FolderIdentity> linkedFolders_;
};
} // namespace

bool ScanFavoritesFolder(CURLPage& page, const std::string& folder, HTREEITEM parent) {
    return FolderScan(page).Scan(folder, parent);
}
