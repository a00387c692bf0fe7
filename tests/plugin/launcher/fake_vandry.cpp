// A stand-in settings editor for the launcher's tests. It tells the test, via
// environment variables of the process, from which file it was loaded, whether
// its SetUpTevrix ran and when it was unloaded again. Built twice: with the
// export (FAKE_VANDRY_WITH_SETUP) and without.
#include <windows.h>

namespace {
HINSTANCE g_module;

// In UTF-16, so that a folder name outside the ANSI code page and a path
// longer than MAX_PATH come through whole.
void RecordOwnPath(const wchar_t* variable) {
    static wchar_t path[32768];
    DWORD length = GetModuleFileNameW(g_module, path, 32768);
    path[length < 32768 ? length : 0] = L'\0';
    SetEnvironmentVariableW(variable, path);
}
} // namespace

#ifdef FAKE_VANDRY_WITH_SETUP
extern "C" void WINAPI SetUpTevrix(void) {
    RecordOwnPath(L"FAKE_VANDRY_SETUP");
}
#endif

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        RecordOwnPath(L"FAKE_VANDRY_ATTACHED");
    } else if (reason == DLL_PROCESS_DETACH) {
        RecordOwnPath(L"FAKE_VANDRY_DETACHED");
    }
    return TRUE;
}
