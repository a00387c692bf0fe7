// Placeholder entry points; replaced by the real plug-in.
#include "plugin_state.h"

extern "C" {
LPCSTR WINAPI QPCGetPlugName(void) { return "Tevrix"; }
INT_PTR WINAPI QPCVersionInfo(HWND) { return 0; }
LRESULT WINAPI QPCStartUp(LPARAM) { return 1; }
LRESULT WINAPI QPCCleanUp(void) { return 0; }
LRESULT WINAPI QPCSetup(LPARAM) { return 0; }
LRESULT WINAPI QPCViewClose(LPARAM) { return 0; }
void WINAPI QPCSendInitMenu(LPARAM, HMENU, UINT) {}
}
