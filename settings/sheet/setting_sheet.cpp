#include "settings/sheet/setting_sheet.h"

#include "settings/resources/resource.h"

CSettingSheet::CSettingSheet(HWND parent)
    : CPropertySheet(IDS_SHEET_CAPTION, parent, 0), m_backupPage(m_urlPage, 0) {
    AddPage(&m_urlPage);
    AddPage(&m_etcPage);
    AddPage(&m_backupPage);
}

CSettingSheet::~CSettingSheet() = default;
