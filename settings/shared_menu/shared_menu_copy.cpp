#include "settings/shared_menu/shared_menu_copy.h"

#include <new>

namespace {
struct CopiedItem {
    int depth; // below the copy's own item, which is at 0
    bool submenu;
    const std::string* title;
    const std::string* text;
};

// The copy's items in tree order, each entry's depth made relative to the copy.
std::vector<CopiedItem> ItemsToCopy(const std::vector<BackupEntry>& entries, size_t first,
                                    const std::string& title) {
    std::vector<CopiedItem> items;
    if (first >= entries.size()) {
        items.push_back({0, true, &title, nullptr});
        for (const BackupEntry& entry : entries)
            items.push_back({entry.depth + 1, entry.submenu, &entry.title, &entry.text});
        return items;
    }
    int base = entries[first].depth;
    for (size_t i = first; i < entries.size(); ++i) {
        if (i > first && entries[i].depth <= base)
            break;
        const BackupEntry& entry = entries[i];
        items.push_back({entry.depth - base, entry.submenu, &entry.title, &entry.text});
    }
    return items;
}

// The menu level of the children of parent: 0 below the top item.
int LevelBelow(const CTreeCtrl& tree, HTREEITEM parent) {
    int level = 0;
    for (HTREEITEM walk = tree.GetParentItem(parent); walk; walk = tree.GetParentItem(walk))
        ++level;
    return level;
}
// Inserts the items, the first at (parent, after) and each other one as
// the last child of the copied submenu it belongs to; copy: the first. False
// when an item could not be made, memory included.
bool InsertItems(CURLPage& page, const std::vector<CopiedItem>& items, HTREEITEM parent,
                 HTREEITEM after, HTREEITEM& copy) {
    try {
        // open[k]: the copied submenu that holds the items of depth k + 1.
        std::vector<HTREEITEM> open;
        for (const CopiedItem& item : items) {
            HTREEITEM into = parent, place = after;
            size_t depth = static_cast<size_t>(item.depth);
            if (depth > 0 && !open.empty()) {
                open.resize(depth < open.size() ? depth : open.size());
                into = open.back();
                place = TVI_LAST;
            }
            HTREEITEM made = item.submenu ? page.InsertSubmenu(into, place, item.title->c_str())
                                          : page.InsertTextEntry(into, place, item.title->c_str(),
                                                                 item.text->c_str());
            if (!made)
                return false;
            if (!copy)
                copy = made;
            if (item.submenu)
                open.push_back(made);
        }
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}
} // namespace

SharedCopyResult CopySharedItem(CURLPage& page, const std::vector<BackupEntry>& entries,
                                size_t first, const std::string& title) {
    const CTreeCtrl& tree = page.GetTree();
    HTREEITEM top = page.TopItem();
    if (!top)
        return SharedCopyResult::kNotInserted;
    HTREEITEM anchor = tree.GetSelectedItem();
    HTREEITEM parent = top;
    HTREEITEM after = TVI_LAST;
    if (anchor && anchor != top) {
        parent = tree.GetParentItem(anchor);
        after = anchor;
    }
    std::vector<CopiedItem> items = ItemsToCopy(entries, first, title);
    int deepest = 0;
    for (const CopiedItem& item : items)
        deepest = item.depth > deepest ? item.depth : deepest;
    // Levels as the store and a backup file count them, the top level as one.
    if (LevelBelow(tree, parent) + deepest + 1 > kMaxBackupLevels)
        return SharedCopyResult::kTooDeep;

    HTREEITEM copy = nullptr;
    if (!InsertItems(page, items, parent, after, copy)) {
        // Half a submenu is no copy of it.
        if (copy)
            tree.DeleteItem(copy);
        return SharedCopyResult::kNotInserted;
    }
    // Selected, so that the next copy goes after this one.
    tree.SelectItem(copy);
    page.MarkChanged();
    return SharedCopyResult::kCopied;
}
