// Load and unload of Vandry.dll: the application object and the module that
// holds the dialog templates and strings.
#include "framework/app.h"

namespace {
CWinApp theApp;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        AfxSetResourceHandle(module);
        ::DisableThreadLibraryCalls(module);
    }
    return TRUE;
}
