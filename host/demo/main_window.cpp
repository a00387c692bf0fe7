#include "main_window.h"

#include "compose_window.h"
#include "plugin_loader.h"

namespace {

const UINT CommandNewMail = 200;
const UINT CommandExit = 201;
const UINT CommandPluginSetup = 210;
const UINT CommandPluginVersion = 211;

HMENU CreateMainMenuBar(void) {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, CommandNewMail, "新規メール作成(&N)");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING, CommandExit, "終了(&X)");
    HMENU plugins = CreatePopupMenu();
    AppendMenuA(plugins, MF_STRING, CommandPluginSetup, "Tevrix の設定(&S)...");
    AppendMenuA(plugins, MF_STRING, CommandPluginVersion, "Tevrix のバージョン情報(&V)...");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "ファイル(&F)");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(plugins), "プラグイン(&P)");
    return bar;
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case CommandNewMail: {
            HWND compose = CreateComposeWindow(window);
            ShowWindow(compose, SW_SHOW);
            break;
        }
        case CommandExit:
            DestroyWindow(window);
            break;
        case CommandPluginSetup:
            if (Plugin.module)
                Plugin.Setup(0);
            break;
        case CommandPluginVersion:
            if (Plugin.module)
                Plugin.VersionInfo(window);
            break;
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

HWND CreateMainWindow(void) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    wc.lpszClassName = "QuorvanMain";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "Quorvan (デモ)", WS_OVERLAPPEDWINDOW, 40, 30, 700,
                           520, nullptr, CreateMainMenuBar(), wc.hInstance, nullptr);
}
