#include "picker_photo.h"

#include <string>

#include "compose_window.h"
#include "screen_capture.h"

namespace {

const char* const PickerItem = "検索して挿入...";
const int QueryControl = 1010;
const int ListControl = 1011;
const UINT StepMs = 300;
const DWORD DeadlineMs = 8000;

struct PickerSession {
    std::string query;
    std::string path;
    int step;
    DWORD started;
    BOOL captured;
} session;

BOOL CALLBACK FindPicker(HWND window, LPARAM param) {
    if (IsWindowVisible(window) && GetDlgItem(window, ListControl) &&
        GetDlgItem(window, QueryControl)) {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK PickerStep(HWND, UINT, UINT_PTR, DWORD) {
    HWND picker = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindPicker, reinterpret_cast<LPARAM>(&picker));
    if (!picker)
        return;
    HWND query = GetDlgItem(picker, QueryControl);
    if (GetTickCount() - session.started > DeadlineMs) {
        PostMessageA(picker, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    switch (session.step++) {
    case 0: // typed key by key, as a person types
        for (char c : session.query)
            PostMessageA(query, WM_CHAR, static_cast<unsigned char>(c), 1);
        break;
    case 1:
        PostMessageA(query, WM_KEYDOWN, VK_DOWN, 1);
        break;
    case 2: {
        // Exactly the picker's window: any margin would show the compose
        // window behind it.
        RECT area;
        GetWindowRect(picker, &area);
        session.captured = SaveScreenAreaAsPng(area, session.path.c_str());
        break;
    }
    default:
        PostMessageA(query, WM_KEYDOWN, VK_ESCAPE, 1);
    }
}

// Sets "UsePicker" (null value: removes it); returns what it held before, or
// false when it was absent.
bool SwapPickerSetting(const DWORD* value, DWORD* before) {
    HKEY root = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Ostrel\\Tevrix", 0, nullptr, 0,
                        KEY_READ | KEY_WRITE, nullptr, &root, nullptr) != ERROR_SUCCESS)
        return false;
    DWORD size = sizeof *before, type = 0;
    bool present = RegQueryValueExA(root, "UsePicker", nullptr, &type,
                                    reinterpret_cast<BYTE*>(before), &size) == ERROR_SUCCESS &&
                   type == REG_DWORD;
    if (value)
        RegSetValueExA(root, "UsePicker", 0, REG_DWORD, reinterpret_cast<const BYTE*>(value),
                       sizeof *value);
    else
        RegDeleteValueA(root, "UsePicker");
    RegCloseKey(root);
    return present;
}

UINT FindPickerCommand(HMENU tools) {
    int count = GetMenuItemCount(tools);
    for (int position = 0; position < count; ++position) {
        HMENU popup = GetSubMenu(tools, position);
        char text[64] = {};
        if (popup && GetMenuStringA(popup, 0, text, sizeof text, MF_BYPOSITION) &&
            std::string(text) == PickerItem)
            return GetMenuItemID(popup, 0);
    }
    return 0;
}

} // namespace

BOOL PhotographPicker(HWND compose, const char* query, const char* path) {
    // The store is left as it was found, so that the next run's menu is the same.
    const DWORD on = 1;
    DWORD before = 0;
    bool wasSet = SwapPickerSetting(&on, &before);
    HMENU bar = GetMenu(compose);
    SendMessageA(compose, WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0);
    UINT command = FindPickerCommand(GetSubMenu(bar, ComposeToolsPosition));
    session = PickerSession{query, path, 0, GetTickCount(), FALSE};
    if (command) {
        UINT_PTR timer = SetTimer(nullptr, 0, StepMs, PickerStep);
        SetForegroundWindow(compose);
        SendMessageA(compose, WM_COMMAND, MAKEWPARAM(command, 0), 0);
        KillTimer(nullptr, timer);
    }
    DWORD ignored = 0;
    SwapPickerSetting(wasSet ? &before : nullptr, &ignored);
    return session.captured;
}
