#include "settings_photos.h"

#include <commctrl.h>

#include <string>

#include "plugin_loader.h"
#include "screen_capture.h"

namespace {

const char* const SheetCaption = "Tevrix 設定";
const UINT StepIntervalMs = 300;
const DWORD SheetDeadlineMs = 15000;
const int SampleEntryIndex = 1; // the second top-level entry: a text with line breaks

struct SheetSession {
    int step;
    DWORD started;
    int photos;
} sheet;

BOOL CALLBACK FindSheet(HWND window, LPARAM param) {
    char caption[64] = {};
    GetWindowTextA(window, caption, sizeof caption);
    if (IsWindowVisible(window) && lstrcmpA(caption, SheetCaption) == 0) {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}

BOOL Photograph(HWND window, const char* name) {
    RECT area;
    GetWindowRect(window, &area);
    return SaveScreenAreaAsPng(area, (std::string(HostFolder()) + name).c_str());
}

// Selects a text entry of the menu tree so that the picture shows its text.
void SelectSampleEntry(HWND page) {
    HWND tree = FindWindowExA(page, nullptr, WC_TREEVIEWA, nullptr);
    if (!tree)
        return;
    HTREEITEM item = TreeView_GetChild(tree, TreeView_GetRoot(tree));
    for (int i = 0; item && i < SampleEntryIndex; ++i)
        item = TreeView_GetNextSibling(tree, item);
    if (item) {
        SetFocus(tree);
        TreeView_SelectItem(tree, item);
    }
}

void CALLBACK SheetStep(HWND, UINT, UINT_PTR, DWORD) {
    HWND window = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindSheet, reinterpret_cast<LPARAM>(&window));
    if (!window) {
        if (GetTickCount() - sheet.started > SheetDeadlineMs)
            sheet.step = -1; // nothing to close: the sheet never came
        return;
    }
    if (GetTickCount() - sheet.started > SheetDeadlineMs) {
        PostMessageA(window, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
        return;
    }
    switch (sheet.step++) {
    case 0:
        SelectSampleEntry(PropSheet_GetCurrentPageHwnd(window));
        break;
    case 1:
        sheet.photos += Photograph(window, "settings-menu.png");
        PropSheet_SetCurSel(window, nullptr, 1);
        break;
    case 2:
        sheet.photos += Photograph(window, "settings-etc.png");
        PropSheet_SetCurSel(window, nullptr, 2);
        break;
    case 3:
        sheet.photos += Photograph(window, "settings-backup.png");
        PropSheet_PressButton(window, PSBTN_CANCEL);
        break;
    default:
        break;
    }
}

} // namespace

BOOL PhotographSettingsSheet(void) {
    sheet = SheetSession{0, GetTickCount(), 0};
    UINT_PTR timer = SetTimer(nullptr, 0, StepIntervalMs, SheetStep);
    LRESULT loaded = Plugin.Setup(0);
    KillTimer(nullptr, timer);
    return loaded && sheet.photos == 3;
}
