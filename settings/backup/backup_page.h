// The page "バックアップ": the whole menu of the page "メニュー" saved to a
// backup file, and a backup file read back into it.
#pragma once
#include "framework/property_page.h"
#include "settings/menu_page/url_page.h"

class CBackupPage : public CPropertyPage {
  public:
    // menuPage: the sheet's page "メニュー", at menuPageIndex among its pages.
    CBackupPage(CURLPage& menuPage, int menuPageIndex);
    ~CBackupPage() override;

  protected:
    // "ｴｸｽﾎﾟｰﾄ": the menu as it stands, unsaved edits included, to a file.
    void OnExport();
    // "ｲﾝﾎﾟｰﾄ": a file's menu into the tree; OK or Apply saves it.
    void OnImport();

    DECLARE_MESSAGE_MAP()

  private:
    // The menu page with its tree, created first if it was never shown.
    CURLPage& MenuPage();
    void Tell(const char* text) const;
    void Export();
    void Import();

    CURLPage& m_menuPage;
    int m_nMenuPageIndex;
};
