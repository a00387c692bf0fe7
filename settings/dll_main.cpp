// Load and unload of Vandry.dll: the application object and the module that
// holds the dialog templates and strings.
#include "common/unload_thread_detach.h"
#include "framework/app.h"

namespace {
CWinApp theApp;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        AfxSetResourceHandle(module);
        ::DisableThreadLibraryCalls(module);
    } else if (reason == DLL_PROCESS_DETACH && !reserved) {
        // The plug-in loads the editor for each opening of the sheet.
        DetachThisThreadOnUnload(module);
    }
    return TRUE;
}
