#include "settings/menu_page/top_level_entry.h"

HTREEITEM FindTopLevelEntry(const CTreeCtrl& tree, const char* title, HTREEITEM top) {
    for (HTREEITEM child = tree.GetChildItem(top); child; child = tree.GetNextSiblingItem(child))
        if (tree.GetItemText(child) == title)
            return child;
    return nullptr;
}
