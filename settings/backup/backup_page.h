// The page "バックアップ": the whole menu of the page "メニュー" saved to a
// backup file, and a backup file read back into it.
#pragma once
#include "framework/property_page.h"
#include "settings/menu_page/url_page.h"

class CSharedMenuPage;

class CBackupPage : public CPropertyPage {
  public:
    // menuPage: the sheet's page "メニュー", at menuPageIndex among its pages.
    CBackupPage(CURLPage& menuPage, int menuPageIndex);
    ~CBackupPage() override;
    // The page "共有メニュー", whose path "共有メニューとして書き出す" writes to.
    void SetSharedMenuPage(CSharedMenuPage* page) { m_pSharedMenuPage = page; }

  protected:
    // The shared file is first looked at here, where it is exported.
    BOOL OnInitDialog() override;
    // "ｴｸｽﾎﾟｰﾄ": the menu as it stands, unsaved edits included, to a file.
    void OnExport();
    // "ｲﾝﾎﾟｰﾄ": a file's menu into the tree; OK or Apply saves it.
    void OnImport();
    // "共有メニューとして書き出す": the menu to the shared menu's file.
    void OnExportShared();

    DECLARE_MESSAGE_MAP()

  private:
    // The menu page with its tree, created first if it was never shown.
    CURLPage& MenuPage();
    void Tell(const char* text) const;
    void Export();
    void Import();

    CURLPage& m_menuPage;
    int m_nMenuPageIndex;
    CSharedMenuPage* m_pSharedMenuPage = nullptr;
};
