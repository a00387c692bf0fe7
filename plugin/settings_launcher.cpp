// The settings launcher: runs the settings editor Vandry.dll, which is loaded
// only for as long as its modal settings sheet is open.
#include <windows.h>

#include "proc_cast.h"

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

HMODULE LoadSettingsEditor(void) {
    for (const char* name : kSettingsEditorNames) {
        HMODULE editor = LoadLibraryA(name);
        if (editor)
            return editor;
    }
    return nullptr;
}

} // namespace

extern "C" LRESULT WINAPI QPCSetup(LPARAM) {
    HMODULE editor = LoadSettingsEditor();
    if (!editor)
        return 0;
    SetUpTevrixFn setUp = GetProcAs<SetUpTevrixFn>(editor, "SetUpTevrix");
    if (setUp)
        setUp(); // no owner window: the sheet opens on its own
    return FreeLibrary(editor);
}
