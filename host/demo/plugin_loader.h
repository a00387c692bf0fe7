// The demo host's hold on the plug-in: Plugins\Tevrix.dll beside the host's
// executable, with its entry points found by name.
#pragma once
#include <windows.h>

struct LoadedPlugin {
    HMODULE module;
    LPCSTR(WINAPI* GetPlugName)(void);
    INT_PTR(WINAPI* VersionInfo)(HWND);
    LRESULT(WINAPI* StartUp)(LPARAM);
    LRESULT(WINAPI* CleanUp)(void);
    LRESULT(WINAPI* Setup)(LPARAM);
    LRESULT(WINAPI* ViewClose)(LPARAM);
    void(WINAPI* SendInitMenu)(LPARAM, HMENU, UINT);
};

// The plug-in the demo runs; module is null until LoadPlugin succeeds.
extern LoadedPlugin Plugin;

// The folder of the host's executable, with a trailing backslash.
const char* HostFolder(void);

// Loads the plug-in and checks that every entry point is there.
BOOL LoadPlugin(void);
void UnloadPlugin(void);
