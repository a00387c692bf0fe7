// The settings sheet "Tevrix 設定": the menu page, the other settings page,
// then the backup of the menu and the team's shared menu.
#pragma once
#include "framework/property_sheet.h"
#include "settings/backup/backup_page.h"
#include "settings/sheet/etc_page.h"
#include "settings/menu_page/url_page.h"
#include "settings/shared_menu/shared_menu_page.h"

class CSettingSheet : public CPropertySheet {
  public:
    explicit CSettingSheet(HWND parent = nullptr);
    ~CSettingSheet() override;

  private:
    CURLPage m_urlPage;
    CEtcPage m_etcPage;
    CBackupPage m_backupPage;
    CSharedMenuPage m_sharedMenuPage;
};
