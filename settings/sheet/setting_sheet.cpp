#include "settings/sheet/setting_sheet.h"

#include "framework/guard.h"
#include "settings/resources/resource.h"

namespace {
// What the user reads when an operation of the editor ends by an exception,
// registered when the module loads: nothing is allocated for it later.
struct FailureTexts {
    FailureTexts() {
        AfxSetFailureTexts("Tevrix", "メモリが足りないため、操作を完了できませんでした。",
                           "予期しないエラーのため、操作を完了できませんでした。");
    }
} g_failureTexts;
} // namespace

CSettingSheet::CSettingSheet(HWND parent)
    : CPropertySheet(IDS_SHEET_CAPTION, parent, 0), m_backupPage(m_urlPage, 0),
      m_sharedMenuPage(m_urlPage, 0) {
    AddPage(&m_urlPage);
    AddPage(&m_etcPage);
    AddPage(&m_backupPage);
    AddPage(&m_sharedMenuPage);
    m_backupPage.SetSharedMenuPage(&m_sharedMenuPage);
}

CSettingSheet::~CSettingSheet() = default;
