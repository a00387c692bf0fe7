// Quorvan.exe, the demo host: a main window and a compose window that load
// Plugins\Tevrix.dll from the executable's folder and drive it as the mail
// client does. With --headless it runs through one menu build and insertion on
// its own and exits; --sample-store-if-empty writes a sample menu into an
// empty store first.
#include <windows.h>

#include <string.h>

#include <string>

#include "../host_stub.h"
#include "compose_window.h"
#include "headless_run.h"
#include "main_window.h"
#include "menu_printer.h"
#include "plugin_loader.h"
#include "sample_store.h"

namespace {

int RunInteractive(HWND mainWindow, HWND compose) {
    ShowWindow(mainWindow, SW_SHOW);
    ShowWindow(compose, SW_SHOW);
    SetForegroundWindow(compose);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    SetConsoleOutputCP(CP_UTF8);
    bool headless = false;
    bool sampleStore = false;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--headless") == 0)
            headless = true;
        else if (strcmp(argv[i], "--sample-store-if-empty") == 0)
            sampleStore = true;
    }
    if (sampleStore && WriteSampleStoreIfEmpty())
        PrintText("見本のメニューをレジストリに書き込みました\n");
    host::SetMailbox((std::string(HostFolder()) + "sample-mailbox\\").c_str());

    if (!LoadPlugin()) {
        PrintText("Plugins\\Tevrix.dll を読み込めませんでした\n");
        return 1;
    }
    Plugin.StartUp(0);
    PrintText(std::string("プラグイン: ") + Plugin.GetPlugName() + "\n");

    HWND mainWindow = CreateMainWindow();
    HWND compose = CreateComposeWindow(mainWindow);
    int result = headless ? RunHeadless(mainWindow, compose) : RunInteractive(mainWindow, compose);
    UnloadPlugin();
    return result;
}
