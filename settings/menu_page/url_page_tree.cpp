// The menu tree page's answers to the tree's notifications.
#include "settings/menu_page/url_page.h"

#include "settings/menu_page/menu_tree_images.h"
#include "settings/resources/resource.h"

void CURLPage::OnTreeSelChanged(NMHDR* header, LRESULT*) {
    auto* change = reinterpret_cast<NMTREEVIEWA*>(header);
    HTREEITEM now = change->itemNew.hItem;
    try {
        UpdateData(TRUE);
        // A pending edit belongs to the entry that loses the selection, if it
        // is still there (a deleted item reads as no string).
        HTREEITEM old = change->itemOld.hItem;
        if (m_bEntryChanged && old && ItemString(old))
            ReplaceItemString(old, m_strEntry);
    } catch (...) {
        // The edit is lost, but it must not stay pending for the new item.
        ShowSelection(now);
        throw;
    }
    ShowSelection(now);
    const char* text = now ? ItemString(now) : nullptr;
    m_strEntry = text ? text : "";
}

void CURLPage::ShowSelection(HTREEITEM item) {
    ::EnableWindow(GetDlgItem(IDC_DELETE_ITEM), item && m_tree.GetParentItem(item));
    const char* text = item ? ItemString(item) : nullptr;
    ::SetDlgItemTextA(m_hWnd, IDC_ENTRY_STRING, text ? text : "");
    ::EnableWindow(GetDlgItem(IDC_ENTRY_STRING), text != nullptr);
    ::EnableWindow(GetDlgItem(IDC_INSERT_VARIABLE), text != nullptr);
    // Clears also the change that our own writing of the box reported.
    m_bEntryChanged = FALSE;
}

void CURLPage::OnTreeItemExpanding(NMHDR* header, LRESULT*) {
    ShowFolderOpenOrClosed(m_tree, reinterpret_cast<NMTREEVIEWA*>(header));
}

void CURLPage::OnTreeDeleteItem(NMHDR* header, LRESULT*) {
    auto* deletion = reinterpret_cast<NMTREEVIEWA*>(header);
    HTREEITEM gone = deletion->itemOld.hItem;
    // A pending edit of the selected entry goes with it: the selection change
    // that follows must not write into an item whose string is gone.
    if (gone == m_tree.GetSelectedItem())
        m_bEntryChanged = FALSE;
    // A drag whose item or target is gone ends: its handles would name
    // nothing, or a later item that reuses them.
    if (m_bDragging && (gone == m_hDragItem || gone == m_hDropItem))
        StopDragging();
    delete[] reinterpret_cast<char*>(deletion->itemOld.lParam);
}

void CURLPage::OnTreeBeginLabelEdit(NMHDR* header, LRESULT* result) {
    // The top item keeps its title.
    auto* edit = reinterpret_cast<NMTVDISPINFOA*>(header);
    *result = m_tree.GetParentItem(edit->item.hItem) ? 0 : 1;
}

void CURLPage::OnTreeEndLabelEdit(NMHDR* header, LRESULT*) {
    // A null text means the edit was cancelled; an empty title is accepted.
    auto* edit = reinterpret_cast<NMTVDISPINFOA*>(header);
    if (edit->item.pszText)
        m_tree.SetItemText(edit->item.hItem, edit->item.pszText);
}
