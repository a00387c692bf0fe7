#include "settings/sheet/setup_export.h"

#include "settings/sheet/setting_sheet.h"

extern "C" void WINAPI SetUpTevrix() {
    // Unowned: no host window is disabled while the sheet is open. The pages
    // have saved whatever is kept, so the sheet's result is not needed.
    CSettingSheet sheet(nullptr);
    sheet.DoModal();
}
