#include "plugin_loader.h"

#include <string.h>

#include "../../common/proc_cast.h"

LoadedPlugin Plugin;

const char* HostFolder(void) {
    static char folder[MAX_PATH];
    if (!folder[0]) {
        GetModuleFileNameA(nullptr, folder, MAX_PATH);
        char* slash = strrchr(folder, '\\');
        if (slash)
            slash[1] = '\0';
    }
    return folder;
}

BOOL LoadPlugin(void) {
    char path[MAX_PATH];
    lstrcpynA(path, HostFolder(), MAX_PATH);
    lstrcatA(path, "Plugins\\Tevrix.dll");
    HMODULE module = LoadLibraryA(path);
    if (!module)
        return FALSE;
    LoadedPlugin p = {};
    p.module = module;
    p.GetPlugName = GetProcAs<decltype(p.GetPlugName)>(module, "QPCGetPlugName");
    p.VersionInfo = GetProcAs<decltype(p.VersionInfo)>(module, "QPCVersionInfo");
    p.StartUp = GetProcAs<decltype(p.StartUp)>(module, "QPCStartUp");
    p.CleanUp = GetProcAs<decltype(p.CleanUp)>(module, "QPCCleanUp");
    p.Setup = GetProcAs<decltype(p.Setup)>(module, "QPCSetup");
    p.ViewClose = GetProcAs<decltype(p.ViewClose)>(module, "QPCViewClose");
    p.SendInitMenu = GetProcAs<decltype(p.SendInitMenu)>(module, "QPCSendInitMenu");
    if (!p.GetPlugName || !p.VersionInfo || !p.StartUp || !p.CleanUp || !p.Setup || !p.ViewClose ||
        !p.SendInitMenu) {
        FreeLibrary(module);
        return FALSE;
    }
    Plugin = p;
    return TRUE;
}

void UnloadPlugin(void) {
    if (!Plugin.module)
        return;
    Plugin.CleanUp();
    FreeLibrary(Plugin.module);
    Plugin = LoadedPlugin();
}
