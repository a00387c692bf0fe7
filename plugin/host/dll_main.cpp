// The library entry point: binds the host at load and refuses to load, with a
// message to the user, when the host does not offer every function.
#include <windows.h>

#include <stdio.h>

#include "common/unload_thread_detach.h"
#include "host_binding.h"
#include "plugin_state.h"
#include "plugin/address_book/address_cache.h"
#include "plugin/menu/menu_cache.h"
#include "plugin/variables/remembered_answers.h"
#include "plugin/reader/reader_thread.h"

HINSTANCE PluginInstance;

extern "C" LPCSTR WINAPI QPCGetPlugName(void);

namespace {

void ShowLoadFailure(void) {
    char message[256];
    _snprintf(message, sizeof message,
              "プラグイン「%s」でエラーが発生しました。\r\nQuorvan32とプラグインのバージョンを"
              "確認してください",
              QPCGetPlugName());
    message[sizeof message - 1] = '\0';
    MessageBoxA(nullptr, message, "プラグインエラー", MB_OK | MB_ICONERROR);
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        PluginInstance = instance;
        InitializeMenuCache();
        if (!BindHost()) {
            ShowLoadFailure();
            return FALSE;
        }
        return TRUE;
    case DLL_PROCESS_DETACH:
        // Unloaded by the host, with or without QPCCleanUp: the caches, the
        // text lists and the popups go (a host may load the plug-in again in
        // the same process). At the end of the process the system takes
        // everything back by itself. The reader thread holds the plug-in
        // while it runs, so it has left by now: nothing here waits for it.
        if (!reserved) {
            ForgetReader();
            FreeMenuCache();
            FreeAddressBookCache();
            TextListClear(&EntryTexts);
            TextListClear(&AddressTexts);
            DestroyPopups();
            ForgetAnswers();
            DeleteMenuCache();
            DetachThisThreadOnUnload(instance);
        }
        UnbindHost();
        return TRUE;
    default:
        return TRUE;
    }
}
