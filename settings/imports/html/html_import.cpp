// "HTMLﾌｧｲﾙから挿入": the links of an HTML file become a new submenu next to
// the selected item.
#include "settings/imports/html/html_insert_dialog.h"
#include "settings/imports/html/html_link_import.h"
#include "settings/imports/insert_failure.h"
#include "settings/menu_page/url_page.h"

void CURLPage::InsertFromHtml() {
    HtmlInsertDialog dialog(m_hWnd);
    if (dialog.DoModal() != IDOK)
        return;
    HTREEITEM anchor = m_tree.GetSelectedItem();
    if (!anchor)
        anchor = TopItem();
    if (!anchor)
        return;
    // Into a submenu (or the top item) at its end; after a text entry beside it.
    HTREEITEM parent = anchor;
    HTREEITEM after = TVI_LAST;
    if (ItemString(anchor)) {
        parent = m_tree.GetParentItem(anchor);
        after = anchor;
    }
    HTREEITEM submenu = InsertSubmenu(parent, after, dialog.m_strTitle.c_str());
    if (!submenu) {
        TellInsertFailed(m_hWnd);
        return;
    }
    // An import that fails part-way leaves no half-filled submenu behind.
    HtmlImportResult result = HtmlImportResult::kCannotOpen;
    try {
        result = ImportHtmlLinks(*this, dialog.m_strFilePath.c_str(), submenu);
    } catch (...) {
        m_tree.DeleteItem(submenu);
        throw;
    }
    if (result != HtmlImportResult::kImported)
        m_tree.DeleteItem(submenu);
    if (result == HtmlImportResult::kCannotInsert) {
        TellInsertFailed(m_hWnd);
        return;
    }
    // Also when the file could not be opened and the submenu went again.
    MarkChanged();
}
