// A host that exports every host function but one. It loads Tevrix.dll from its
// folder, reads the message box the plug-in shows while refusing to load, closes
// it, and prints what it saw, one "key=value" line each (texts hex-encoded).
// Exit code 0 when a box was seen, 2 when none came before the deadline.
#include <windows.h>

#include <stdio.h>

#include <string>

namespace {

const DWORD DeadlineMs = 10000;

struct Seen {
    bool box = false;
    std::string caption;
    std::string text;
    int visibleButtons = 0;
    int buttonId = 0;
    bool errorIcon = false;
    bool owned = false;
} seen;
DWORD started;

std::string Hex(const std::string& bytes) {
    std::string hex;
    char digits[3];
    for (unsigned char c : bytes) {
        snprintf(digits, sizeof digits, "%02x", c);
        hex += digits;
    }
    return hex;
}

std::string WindowText(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

BOOL CALLBACK ReadControl(HWND control, LPARAM) {
    char className[32] = {};
    GetClassNameA(control, className, sizeof className);
    LONG style = GetWindowLongA(control, GWL_STYLE);
    if (lstrcmpiA(className, "Button") == 0 && IsWindowVisible(control)) {
        ++seen.visibleButtons;
        seen.buttonId = GetDlgCtrlID(control);
    } else if (lstrcmpiA(className, "Static") == 0) {
        if ((style & SS_TYPEMASK) == SS_ICON) {
            HICON icon = reinterpret_cast<HICON>(SendMessageA(control, STM_GETICON, 0, 0));
            seen.errorIcon = icon && icon == LoadIcon(nullptr, IDI_ERROR);
        } else if (!WindowText(control).empty()) {
            seen.text = WindowText(control);
        }
    }
    return TRUE;
}

BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (IsWindowVisible(window) && lstrcmpA(className, "#32770") == 0) {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&box));
    if (box && !seen.box) {
        seen.box = true;
        seen.caption = WindowText(box);
        seen.owned = GetWindow(box, GW_OWNER) != nullptr;
        EnumChildWindows(box, ReadControl, 0);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    } else if (box && GetTickCount() - started > DeadlineMs) {
        PostMessageA(box, WM_CLOSE, 0, 0);
    }
}

} // namespace

int main() {
    started = GetTickCount();
    UINT_PTR timer = SetTimer(nullptr, 0, 50, OnTimer);
    HMODULE plugin = LoadLibraryA("Tevrix.dll");
    KillTimer(nullptr, timer);
    printf("loaded=%d\n", plugin != nullptr);
    printf("box=%d\n", seen.box);
    printf("caption=%s\n", Hex(seen.caption).c_str());
    printf("text=%s\n", Hex(seen.text).c_str());
    printf("buttons=%d\n", seen.visibleButtons);
    printf("button=%d\n", seen.buttonId);
    printf("erroricon=%d\n", seen.errorIcon);
    printf("owned=%d\n", seen.owned);
    fflush(stdout);
    return seen.box ? 0 : 2;
}
