#include "headless_run.h"

#include <string>
#include <vector>

#include "../host_stub.h"
#include "compose_window.h"
#include "menu_printer.h"
#include "picker_photo.h"
#include "questions_photo.h"
#include "plugin_loader.h"
#include "screen_capture.h"
#include "settings_photos.h"

namespace {

const char* const TextPopupTitle = "文字列を挿入";
const char* const PreferredEntry = "署名";
const UINT TimerIntervalMs = 400;
const DWORD MenuDeadlineMs = 8000;

// The run of the open menu: a thread timer steps through it inside
// TrackPopupMenu's own message loop.
struct MenuSession {
    HWND compose;
    int upPresses; // from no selection, VK_UP selects the last item first
    int step;
    DWORD started;
    BOOL captured;
    std::string pngPath;
} session;

std::string MenuText(HMENU menu, int position) {
    char text[512] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

int FindPopupPosition(HMENU menu, const char* title) {
    int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position)
        if (GetSubMenu(menu, position) && MenuText(menu, position) == title)
            return position;
    return -1;
}

struct PopupWindows {
    RECT area;
};

BOOL CALLBACK AddMenuWindow(HWND window, LPARAM param) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (IsWindowVisible(window) && lstrcmpA(className, "#32768") == 0) {
        RECT rect;
        GetWindowRect(window, &rect);
        RECT* area = reinterpret_cast<RECT*>(param);
        UnionRect(area, area, &rect);
    }
    return TRUE;
}

void CaptureComposeWithMenus(void) {
    RECT area;
    GetWindowRect(session.compose, &area);
    EnumWindows(AddMenuWindow, reinterpret_cast<LPARAM>(&area));
    InflateRect(&area, 8, 8);
    session.captured = SaveScreenAreaAsPng(area, session.pngPath.c_str());
}

void CALLBACK MenuStep(HWND, UINT, UINT_PTR, DWORD) {
    if (GetTickCount() - session.started > MenuDeadlineMs) {
        EndMenu();
        return;
    }
    switch (session.step++) {
    case 0: // open "文字列を挿入" from the keyboard, as a person would
        for (int i = 0; i < session.upPresses; ++i)
            PostMessageA(session.compose, WM_KEYDOWN, VK_UP, 0);
        PostMessageA(session.compose, WM_KEYDOWN, VK_RIGHT, 0);
        break;
    case 1:
        break; // let the submenu paint
    case 2:
        CaptureComposeWithMenus();
        EndMenu();
        break;
    default:
        EndMenu();
    }
}

// Shows the compose window's "ツール" menu where the menu bar would drop it,
// opens the plug-in's popup and photographs the screen.
BOOL PhotographOpenPopup(HWND compose, HMENU tools, int textPosition) {
    HMENU bar = GetMenu(compose);
    RECT itemRect = {};
    GetMenuItemRect(compose, bar, ComposeToolsPosition, &itemRect);
    session.compose = compose;
    session.upPresses = GetMenuItemCount(tools) - textPosition;
    session.step = 0;
    session.started = GetTickCount();
    session.captured = FALSE;
    session.pngPath = std::string(HostFolder()) + "compose-menu.png";
    UINT_PTR timer = SetTimer(nullptr, 0, TimerIntervalMs, MenuStep);
    SetForegroundWindow(compose);
    TrackPopupMenu(tools, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, itemRect.left,
                   itemRect.bottom, 0, compose, nullptr);
    KillTimer(nullptr, timer);
    return session.captured;
}

// Depth first: the entry titled title, else the first entry with a command.
UINT FindEntry(HMENU menu, const char* title, UINT* first) {
    int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        if (HMENU submenu = GetSubMenu(menu, position)) {
            if (UINT id = FindEntry(submenu, title, first))
                return id;
            continue;
        }
        UINT id = GetMenuItemID(menu, position);
        if (id < host::kFirstCommandId || id == static_cast<UINT>(-1))
            continue;
        if (!*first)
            *first = id;
        if (MenuText(menu, position) == title)
            return id;
    }
    return 0;
}

void PumpMessages(DWORD forMs) {
    DWORD until = GetTickCount() + forMs;
    MSG msg;
    while (static_cast<LONG>(until - GetTickCount()) > 0) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(20);
    }
}

std::string EditorText(HWND editor) {
    int length = GetWindowTextLengthA(editor);
    std::string text(length + 1, '\0');
    text.resize(GetWindowTextA(editor, &text[0], length + 1));
    return text;
}

} // namespace

int RunHeadless(HWND mainWindow, HWND compose) {
    ShowWindow(mainWindow, SW_SHOW);
    ShowWindow(compose, SW_SHOW);
    HWND editor = ComposeEditor(compose);
    SetWindowTextA(editor, "山田様\r\n\r\nいつもお世話になっております。\r\n");
    SendMessageA(editor, EM_SETSEL, 0x7fffffff, 0x7fffffff);
    PumpMessages(500);

    // The host's menu build, as when the user enters the menu bar.
    HMENU bar = GetMenu(compose);
    SendMessageA(compose, WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0);
    HMENU tools = GetSubMenu(bar, ComposeToolsPosition);
    PrintText("「ツール」メニューにプラグインが追加した項目:\n");
    PrintMenuTree(tools, ComposeHostToolItems());
    int textPosition = FindPopupPosition(tools, TextPopupTitle);
    if (textPosition < 0) {
        PrintText("「文字列を挿入」がありません\n");
        return 1;
    }
    HMENU textPopup = GetSubMenu(tools, textPosition);

    BOOL photographed = PhotographOpenPopup(compose, tools, textPosition);
    PrintText(photographed ? "画面写真: compose-menu.png\n" : "画面写真を保存できませんでした\n");

    UINT first = 0;
    UINT chosen = FindEntry(textPopup, PreferredEntry, &first);
    if (!chosen)
        chosen = first;
    int result = photographed ? 0 : 1;
    if (chosen) {
        char title[512] = {};
        GetMenuStringA(textPopup, chosen, title, sizeof title, MF_BYCOMMAND);
        PrintText(std::string("選んだ項目: 「") + title + "」\n");
        SendMessageA(compose, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
        PrintText("エディタの内容:\n" + EditorText(editor) + "\n");
        PrintText(IsMenu(textPopup) ? "ポップアップが残っています\n"
                                    : "挿入の後、ポップアップは片付けられました\n");
    } else {
        PrintText("選べる項目がありません\n");
    }
    PumpMessages(200);
    // The picker, switched on as its box on the page "その他" does.
    std::string pickerPng = std::string(HostFolder()) + "picker.png";
    if (PhotographPicker(compose, "example", pickerPng.c_str())) {
        PrintText("検索して挿入の写真: picker.png\n");
    } else {
        PrintText("検索して挿入の写真を保存できませんでした\n");
        result = 1;
    }
    // The questions of a text with variables, switched on as the page "その他" does.
    std::string questionsPng = std::string(HostFolder()) + "questions.png";
    if (PhotographQuestions(compose, questionsPng.c_str())) {
        PrintText("質問の写真: questions.png\n");
    } else {
        PrintText("質問の写真を保存できませんでした\n");
        result = 1;
    }
    // The configure command, as the host's menu offers it.
    if (PhotographSettingsSheet()) {
        PrintText("設定画面の写真: settings-menu.png, settings-etc.png, settings-import.png, "
                  "settings-backup.png, settings-shared.png\n");
    } else {
        PrintText("設定画面の写真を保存できませんでした\n");
        result = 1;
    }
    SendMessageA(compose, WM_CLOSE, 0, 0);
    DestroyWindow(mainWindow);
    return result;
}
