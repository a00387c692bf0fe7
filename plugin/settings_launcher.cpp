// The settings launcher: runs the settings editor Vandry.dll, which is loaded
// only for as long as its modal settings sheet is open.
#include <windows.h>

#include "plugin_state.h"
#include "proc_cast.h"
#include "settings_launcher.h"

namespace {

// The settings editor's one export: shows the modal sheet, returns when closed.
typedef void(WINAPI* SetUpTevrixFn)(void);

// Where the settings editor may lie, tried in this order. The names are
// relative, so the standard library search resolves them, starting with the
// host's own folder.
const char* const kSettingsEditorNames[] = {
    "Plugins\\Vandry.dll",
    "Setup\\Vandry.dll",
    "Vandry.dll",
};

// The editor whose sheet is open, while SetUpTevrix runs.
SetUpTevrixFn RunningSetUp = nullptr;

// A reference on this plug-in, taken while the sheet runs: the host's windows
// stay usable, and a host that unloads the plug-in from inside the sheet's
// message loop must not unmap the code that the sheet returns into.
HMODULE HeldPlugin = nullptr;

HMODULE LoadSettingsEditor(void) {
    for (const char* name : kSettingsEditorNames) {
        HMODULE editor = LoadLibraryA(name);
        if (editor)
            return editor;
    }
    return nullptr;
}

void HoldPlugin(void) {
    if (!HeldPlugin)
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                           reinterpret_cast<LPCSTR>(PluginInstance), &HeldPlugin);
}

} // namespace

void ReleasePluginHeldBySetup(void) {
    // Not on the way out of QPCSetup: were it the last reference, the return
    // would land in unmapped code. A later call from the host proves that the
    // host still holds the plug-in, so the reference can go then.
    if (!HeldPlugin || RunningSetUp)
        return;
    HMODULE held = HeldPlugin;
    HeldPlugin = nullptr;
    FreeLibrary(held);
}

extern "C" LRESULT WINAPI QPCSetup(LPARAM) {
    if (RunningSetUp) {
        // Configure chosen again while the sheet is open: the editor brings
        // its open sheet to the front. Nothing is loaded, or unloaded from
        // under the sheet.
        RunningSetUp();
        return 1;
    }
    ReleasePluginHeldBySetup();
    HMODULE editor = LoadSettingsEditor();
    if (!editor)
        return 0;
    SetUpTevrixFn setUp = GetProcAs<SetUpTevrixFn>(editor, "SetUpTevrix");
    if (setUp) {
        HoldPlugin();
        RunningSetUp = setUp;
        setUp();
        RunningSetUp = nullptr;
    }
    return FreeLibrary(editor);
}
