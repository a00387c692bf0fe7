#include "settings/backup/menu_backup.h"

#include "settings/backup/backup_file.h"
#include "settings/backup/backup_text.h"

#include <new>

namespace {
// Inserts entries (tree order) under parent as its last children; a stack of
// the submenus open replaces any recursion. False when an item could not be
// made; what was inserted stays.
bool AddEntries(CURLPage& page, HTREEITEM parent, const std::vector<BackupEntry>& entries) {
    try {
        std::vector<HTREEITEM> open{parent};
        for (const BackupEntry& entry : entries) {
            size_t level = static_cast<size_t>(entry.depth) + 1;
            if (level < open.size())
                open.resize(level);
            HTREEITEM item = entry.submenu
                                 ? page.InsertSubmenu(open.back(), TVI_LAST, entry.title.c_str())
                                 : page.InsertTextEntry(open.back(), TVI_LAST, entry.title.c_str(),
                                                        entry.text.c_str());
            if (!item)
                return false;
            if (entry.submenu)
                open.push_back(item);
        }
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}
} // namespace

bool ExportMenu(CURLPage& page, std::string& file, int& unconvertible) {
    page.CommitStringBox();
    const CTreeCtrl& tree = page.GetTree();
    HTREEITEM top = page.TopItem();
    std::vector<BackupEntry> entries;
    // Depth first through the top item's descendants, without recursion.
    int depth = 0;
    HTREEITEM item = top ? tree.GetChildItem(top) : nullptr;
    while (item) {
        BackupEntry entry;
        entry.depth = depth;
        entry.title = Cp932ToUtf8(tree.GetItemText(item), unconvertible);
        const char* text = page.ItemString(item);
        entry.submenu = text == nullptr;
        if (text)
            entry.text = Cp932ToUtf8(text, unconvertible);
        entries.push_back(std::move(entry));
        HTREEITEM child = text ? nullptr : tree.GetChildItem(item);
        if (child) {
            if (++depth >= kMaxBackupLevels)
                return false;
            item = child;
            continue;
        }
        // The next sibling, or that of the nearest ancestor that has one.
        HTREEITEM next = tree.GetNextSiblingItem(item);
        while (!next && depth > 0) {
            item = tree.GetParentItem(item);
            --depth;
            next = tree.GetNextSiblingItem(item);
        }
        item = next;
    }
    file = WriteMenuBackup(entries);
    return true;
}

BackupError LoadBackup(const char* path, LoadedBackup& backup) {
    backup = LoadedBackup();
    std::string bytes;
    BackupError error = ReadBackupFile(path, bytes);
    return error == BackupError::kNone ? LoadBackupBytes(bytes, backup) : error;
}

BackupError LoadBackupBytes(const std::string& bytes, LoadedBackup& backup) {
    backup = LoadedBackup();
    BackupError error = ReadMenuBackup(bytes.data(), bytes.size(), backup.entries);
    if (error != BackupError::kNone)
        return error;
    for (BackupEntry& entry : backup.entries) {
        entry.title = Utf8ToCp932(entry.title, backup.replaced);
        entry.text = WithCrLfLineEnds(Utf8ToCp932(entry.text, backup.replaced));
        if (entry.depth + 1 > backup.levels)
            backup.levels = entry.depth + 1;
    }
    return BackupError::kNone;
}

bool ReplaceMenu(CURLPage& page, const LoadedBackup& backup) {
    // The new menu grows under a second top item; only when it is complete
    // does the old one go, so a failure leaves the menu as it was.
    const CTreeCtrl& tree = page.GetTree();
    HTREEITEM oldTop = page.TopItem();
    std::string topTitle = oldTop ? tree.GetItemText(oldTop) : std::string("Tevrix");
    HTREEITEM newTop = page.InsertSubmenu(TVI_ROOT, TVI_LAST, topTitle.c_str());
    if (!newTop)
        return false;
    if (!AddEntries(page, newTop, backup.entries)) {
        tree.DeleteItem(newTop);
        return false;
    }
    if (oldTop)
        tree.DeleteItem(oldTop);
    // As after loading: the top item open, every submenu closed.
    tree.Expand(newTop, TVE_EXPAND);
    tree.SelectItem(newTop);
    return true;
}

HTREEITEM AddMenuAsSubmenu(CURLPage& page, const LoadedBackup& backup, const std::string& title,
                           HTREEITEM replaced) {
    const CTreeCtrl& tree = page.GetTree();
    HTREEITEM top = page.TopItem();
    HTREEITEM submenu = top ? page.InsertSubmenu(top, TVI_LAST, title.c_str()) : nullptr;
    if (!submenu)
        return nullptr;
    if (!AddEntries(page, submenu, backup.entries)) {
        tree.DeleteItem(submenu);
        return nullptr;
    }
    if (replaced)
        tree.DeleteItem(replaced);
    return submenu;
}
