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

// The common dialogs stay loaded once the editor has been: Wine's print
// spooler, which they bring in, never closes the mutex it opens on each load,
// so unloading them with the editor would leave one handle in the host at
// every opening of the sheet. The host keeps the library, as most do anyway.
void KeepCommonDialogsLoaded() {
    HMODULE commonDialogs = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN, L"comdlg32.dll", &commonDialogs);
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
    KeepCommonDialogsLoaded();
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
