#include "settings/sheet/setup_export.h"

#include "framework/guard.h"
#include "settings/sheet/setting_sheet.h"

namespace {
// The sheet that is open. There is only ever one: each sheet's OK rewrites
// the whole menu from its own tree, so a second would undo the first's edits.
CSettingSheet* g_openSheet = nullptr;

void BringToFront(HWND sheet) {
    // A box or import dialog of the sheet, when one is open, comes with it:
    // that is what the user has to answer first.
    HWND window = ::GetLastActivePopup(sheet);
    if (::IsIconic(window))
        ::ShowWindow(window, SW_RESTORE);
    ::SetForegroundWindow(window);
}

void RunSettingSheet() {
    if (g_openSheet) {
        if (g_openSheet->m_hWnd)
            BringToFront(g_openSheet->m_hWnd);
        return;
    }
    // Owned by the window the user configured from, which stays disabled
    // while the sheet is open. Without an active window the sheet opens on
    // its own. The pages have saved whatever is kept, so the sheet's result
    // is not needed.
    CSettingSheet sheet(::GetActiveWindow());
    struct OpenSheet {
        explicit OpenSheet(CSettingSheet* sheet) { g_openSheet = sheet; }
        ~OpenSheet() { g_openSheet = nullptr; }
    } open(&sheet);
    sheet.DoModal();
}
} // namespace

extern "C" void WINAPI SetUpTevrix() {
    // Nothing the editor throws reaches the host.
    AfxGuard(::GetActiveWindow(), [] { RunSettingSheet(); });
}
