// "お気に入りの挿入": a Favorites folder becomes a new submenu at the end of
// the top level, under a title that no top-level item has yet (or replacing
// the item that has it, when the user says so).
#include "settings/imports/favorites/favorites_scan.h"
#include "settings/imports/favorites/favorites_title_dialog.h"
#include "settings/imports/favorites/folder_dialog.h"
#include "settings/imports/favorites/title_clash.h"
#include "settings/imports/insert_failure.h"
#include "settings/store/store_key.h"
#include "settings/store/store_names.h"
#include "settings/menu_page/url_page.h"

namespace {
const char kFavoritesValue[] = "Favorites";
const char kDefaultTitle[] = "お気に入り";
const char kChooserCaption[] = "お気に入りﾌｫﾙﾀﾞの選択";
} // namespace

void CURLPage::InsertFavorites() {
    HTREEITEM top = TopItem();
    if (!top)
        return;
    std::string title = kDefaultTitle;
    HTREEITEM found = nullptr;
    FavoritesTitleDialog titleDialog(m_hWnd);
    if (!ChooseTopLevelTitle(m_tree, top, m_hWnd, titleDialog, title, found))
        return;

    CStoreRootKey root(kStoreCompany, kStoreProduct);
    std::string startFolder;
    root.ReadString(kFavoritesValue, startFolder, "");
    FolderDialog chooser(startFolder.c_str(), m_hWnd);
    chooser.SetCaption(kChooserCaption);
    if (chooser.DoModal() != IDOK)
        return;
    std::string folder = chooser.GetPathName();
    if (folder.empty())
        return; // the folder shown could not be read back

    // The new submenu is made whole before the item it replaces goes: an
    // import that fails part-way leaves no half-filled submenu behind, and
    // the old item where it was.
    HTREEITEM submenu = InsertSubmenu(top, TVI_LAST, title.c_str());
    bool whole = false;
    if (submenu) {
        try {
            whole = ScanFavoritesFolder(*this, folder, submenu);
        } catch (...) {
            m_tree.DeleteItem(submenu);
            throw;
        }
        if (!whole)
            m_tree.DeleteItem(submenu);
    }
    if (!whole) {
        TellInsertFailed(m_hWnd);
        return;
    }
    if (found)
        m_tree.DeleteItem(found);
    // The folder is remembered now, whether or not the sheet is applied later.
    root.WriteString(kFavoritesValue, folder.c_str());
    MarkChanged();
}
