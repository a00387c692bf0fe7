// The version box: a small modal dialog with the version lines of the plug-in
// and of the settings editor, and the copyright line.
#include <windows.h>

#include "resource_text.h"
#include "plugin/host/module_hold.h"
#include "plugin/host/plugin_state.h"
#include "plugin/resources/resource.h"

namespace {

INT_PTR CALLBACK VersionBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SetItemTextFromResource(dialog, IDC_PLUGIN_VERSION, PluginInstance, IDS_PLUGIN_VERSION);
        SetItemTextFromResource(dialog, IDC_EDITOR_VERSION, PluginInstance, IDS_EDITOR_VERSION);
        SetItemTextFromResource(dialog, IDC_COPYRIGHT, PluginInstance, IDS_COPYRIGHT);
        return TRUE; // the dialog gives the default focus
    case WM_COMMAND:
        // OK, and the cancel command that Esc and the close keys send, both
        // close the box with the same result.
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 1);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

extern "C" INT_PTR WINAPI QPCVersionInfo(HWND parent) {
    ReleaseEndedModalLoops();
    HoldPluginForModalLoop();
    INT_PTR result = DialogBoxParamA(PluginInstance, MAKEINTRESOURCEA(IDD_VERSION_BOX), parent,
                                     VersionBoxProc, 0);
    EndModalLoop();
    return result;
}
