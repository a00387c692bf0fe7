// "お気に入り メニュー": asks for another title for the imported Favorites
// submenu, or for leave to replace the item that already has the title.
#pragma once
#include "framework/dialog.h"

#include <string>

class FavoritesTitleDialog : public CDialog {
  public:
    explicit FavoritesTitleDialog(HWND parent = nullptr);

    std::string m_strTitle; // the title box
    BOOL m_bOverwrite;      // "この名前で上書きする"

  protected:
    void DoDataExchange(CDataExchange* dx) override;
};
