#include "settings/imports/favorites/title_clash.h"

#include "settings/menu_page/top_level_entry.h"

namespace {
const char kClashNotice[] = " はすでに存在します";
const char kMessageCaption[] = "Tevrix";
} // namespace

bool ChooseTopLevelTitle(const CTreeCtrl& tree, HTREEITEM top, HWND owner,
                         FavoritesTitleDialog& dialog, std::string& title, HTREEITEM& replaced) {
    replaced = nullptr;
    HTREEITEM found = FindTopLevelEntry(tree, title.c_str(), top);
    while (found) {
        std::string notice = title + kClashNotice;
        ::MessageBoxA(owner, notice.c_str(), kMessageCaption, MB_OK);
        dialog.m_strTitle = title;
        if (dialog.DoModal() != IDOK)
            return false;
        // Overwrite keeps the clashing title, whatever the box now holds.
        if (dialog.m_bOverwrite) {
            replaced = found;
            return true;
        }
        title = dialog.m_strTitle;
        found = FindTopLevelEntry(tree, title.c_str(), top);
    }
    return true;
}
