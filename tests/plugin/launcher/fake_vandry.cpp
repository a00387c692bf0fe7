// A stand-in settings editor for the launcher's tests. It tells the test, via
// environment variables of the process, from which file it was loaded, whether
// its SetUpTevrix ran and when it was unloaded again. Built twice: with the
// export (FAKE_VANDRY_WITH_SETUP) and without.
#include <windows.h>

namespace {
HINSTANCE g_module;

void RecordOwnPath(const char* variable) {
    char path[MAX_PATH];
    GetModuleFileNameA(g_module, path, sizeof path);
    SetEnvironmentVariableA(variable, path);
}
} // namespace

#ifdef FAKE_VANDRY_WITH_SETUP
extern "C" void WINAPI SetUpTevrix(void) {
    RecordOwnPath("FAKE_VANDRY_SETUP");
}
#endif

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        RecordOwnPath("FAKE_VANDRY_ATTACHED");
    } else if (reason == DLL_PROCESS_DETACH) {
        RecordOwnPath("FAKE_VANDRY_DETACHED");
    }
    return TRUE;
}
