#include "compose_window.h"

#include "../host_stub.h"
#include "plugin_loader.h"

namespace {

const char* const ComposeClass = "QuorvanCompose";
const UINT CommandClose = 100;
const UINT CommandUndo = 110;
const UINT CommandSelectAll = 111;
const UINT CommandQuote = 120;
const UINT CommandSignature = 121;

struct ComposeState {
    ComposeWindowRef ref;
    HWND editor;
};

ComposeWindowRef NextRef = 1;

ComposeState* StateOf(HWND window) {
    return reinterpret_cast<ComposeState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

HMENU CreateToolsMenu(void) {
    HMENU tools = CreatePopupMenu();
    AppendMenuA(tools, MF_STRING, CommandQuote, "引用符を付ける(&Q)");
    AppendMenuA(tools, MF_STRING, CommandSignature, "署名を挿入(&S)");
    return tools;
}

HMENU CreateComposeMenuBar(void) {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, CommandClose, "閉じる(&C)");
    HMENU edit = CreatePopupMenu();
    AppendMenuA(edit, MF_STRING, CommandUndo, "元に戻す(&U)");
    AppendMenuA(edit, MF_STRING, CommandSelectAll, "すべて選択(&A)");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "ファイル(&F)");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "編集(&E)");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreateToolsMenu()), "ツール(&T)");
    return bar;
}

// The host's menu build: a fresh "ツール" menu each time, handed to the plug-in
// before the old one is thrown away.
void RebuildToolsMenu(HWND window) {
    HMENU bar = GetMenu(window);
    HMENU old = GetSubMenu(bar, ComposeToolsPosition);
    HMENU fresh = CreateToolsMenu();
    if (Plugin.module)
        Plugin.SendInitMenu(0, fresh, QPC_MENU_KIND_COMPOSE);
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_SUBMENU;
    item.hSubMenu = fresh;
    SetMenuItemInfoA(bar, ComposeToolsPosition, TRUE, &item);
    if (old)
        DestroyMenu(old);
}

void OnCommand(HWND window, UINT id) {
    ComposeState* state = StateOf(window);
    if (id >= host::kFirstCommandId) {
        host::InvokeCommand(id, state->ref);
        return;
    }
    switch (id) {
    case CommandClose:
        PostMessageA(window, WM_CLOSE, 0, 0);
        break;
    case CommandUndo:
        SendMessageA(state->editor, EM_UNDO, 0, 0);
        break;
    case CommandSelectAll:
        SendMessageA(state->editor, EM_SETSEL, 0, -1);
        break;
    case CommandQuote:
        SendMessageA(state->editor, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("> "));
        break;
    case CommandSignature:
        SendMessageA(state->editor, EM_REPLACESEL, TRUE,
                     reinterpret_cast<LPARAM>("\r\n-- \r\nQuorvan 利用者\r\n"));
        break;
    }
}

LRESULT CALLBACK ComposeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: {
        ComposeState* state = new ComposeState{NextRef++, nullptr};
        state->editor = CreateWindowExA(
            WS_EX_CLIENTEDGE, "EDIT", "",
            WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 0,
            0, 0, 0, window, nullptr, GetModuleHandleA(nullptr), nullptr);
        SendMessageA(state->editor, WM_SETFONT,
                     reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
        host::SetEditor(state->ref, state->editor);
        return 0;
    }
    case WM_SIZE:
        MoveWindow(StateOf(window)->editor, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        SetFocus(StateOf(window)->editor);
        return 0;
    case WM_INITMENU:
        if (reinterpret_cast<HMENU>(wParam) == GetMenu(window))
            RebuildToolsMenu(window);
        return 0;
    case WM_COMMAND:
        OnCommand(window, LOWORD(wParam));
        return 0;
    case WM_CLOSE:
        if (Plugin.module)
            Plugin.ViewClose(0);
        DestroyWindow(window);
        return 0;
    case WM_DESTROY: {
        ComposeState* state = StateOf(window);
        host::SetEditor(state->ref, nullptr);
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        delete state;
        return 0;
    }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int ComposeHostToolItems(void) {
    return 2;
}

HWND CreateComposeWindow(HWND owner) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ComposeProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = ComposeClass;
        RegisterClassA(&wc);
        registered = true;
    }
    return CreateWindowExA(0, ComposeClass, "メール作成 - Quorvan", WS_OVERLAPPEDWINDOW, 120, 80,
                           560, 400, owner, CreateComposeMenuBar(), GetModuleHandleA(nullptr),
                           nullptr);
}

HWND ComposeEditor(HWND compose) {
    ComposeState* state = StateOf(compose);
    return state ? state->editor : nullptr;
}
