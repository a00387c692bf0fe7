// "メニューのインポート": whether a backup file's menu is added as a new
// submenu at the end of the top level (the default) or replaces the whole menu.
#pragma once
#include "framework/dialog.h"
#include "settings/imports/favorites/favorites_title_dialog.h"

#include <string>

class BackupImportDialog : public CDialog {
  public:
    // submenuTitle: the title the new submenu would get, shown in its choice.
    BackupImportDialog(const std::string& submenuTitle, HWND parent);

    BOOL m_bReplace; // "今のメニューと全て置き換える" chosen

  protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;

  private:
    std::string m_strSubmenuTitle;
};

// The title dialog of the Favorites import, captioned for this import.
class BackupTitleDialog : public FavoritesTitleDialog {
  public:
    explicit BackupTitleDialog(HWND parent) : FavoritesTitleDialog(parent) {}

  protected:
    BOOL OnInitDialog() override;
};
