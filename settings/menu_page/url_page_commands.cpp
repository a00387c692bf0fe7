// The menu tree page's buttons and string box: add, delete, edit a text.
#include "settings/menu_page/url_page.h"

#include "settings/resources/resource.h"

namespace {
const char kNewEntryTitle[] = "メニュー";
const char kNewSubmenuTitle[] = "サブメニュー";
const char kDeleteCaption[] = "Tevrix";
const char kDeleteQuestionStart[] = "この項目(";
const char kDeleteQuestionEnd[] = ")を削除して良いですか";
} // namespace

void CURLPage::OnAddEntry() {
    AddItem(true);
}

void CURLPage::OnAddSubmenu() {
    AddItem(false);
}

void CURLPage::AddItem(bool textEntry) {
    // Into a submenu (or the top item) as its first child; after a text entry
    // as its next sibling.
    HTREEITEM anchor = m_tree.GetSelectedItem();
    if (!anchor)
        anchor = TopItem();
    HTREEITEM parent = anchor;
    HTREEITEM after = TVI_FIRST;
    if (ItemString(anchor)) {
        parent = m_tree.GetParentItem(anchor);
        after = anchor;
    }
    HTREEITEM item = textEntry ? InsertTextEntry(parent, after, kNewEntryTitle, "")
                               : InsertSubmenu(parent, after, kNewSubmenuTitle);
    if (!item)
        return;
    MarkChanged();
    // Selecting commits a pending edit of the old selection and shows the new item.
    m_tree.SelectItem(item);
    ::SetFocus(m_tree.m_hWnd);
    m_tree.EditLabel(item);
}

void CURLPage::OnDelete() {
    HTREEITEM item = m_tree.GetSelectedItem();
    if (!item || !m_tree.GetParentItem(item))
        return;
    std::string question = kDeleteQuestionStart + m_tree.GetItemText(item) + kDeleteQuestionEnd;
    if (::MessageBoxA(m_hWnd, question.c_str(), kDeleteCaption, MB_YESNO) != IDYES)
        return;
    // The tree reports every deleted item, so their strings are released.
    m_tree.DeleteItem(item);
    MarkChanged();
}

void CURLPage::OnStringChange() {
    m_bEntryChanged = TRUE;
}
