// The settings sheet "Tevrix 設定": the menu page, then the other settings page.
#pragma once
#include "framework/property_sheet.h"
#include "settings/sheet/etc_page.h"
#include "settings/menu_page/url_page.h"

class CSettingSheet : public CPropertySheet {
  public:
    explicit CSettingSheet(HWND parent = nullptr);
    ~CSettingSheet() override;

  private:
    CURLPage m_urlPage;
    CEtcPage m_etcPage;
};
