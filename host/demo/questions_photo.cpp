#include "questions_photo.h"

#include <string>

#include "compose_window.h"
#include "screen_capture.h"

namespace {

const char StoreKey[] = "Software\\Ostrel\\Tevrix";
const char EntryKey[] = "Software\\Ostrel\\Tevrix\\URL\\URL99";
const char EntryTitle[] = "返信の書き出し (質問つき)";
const char EntryText[] = "{{input:お客様のお名前|山田}}{{choice:敬称|様|さん|殿}}\r\n\r\n"
                         "いつもお世話になっております。{{cursor}}\r\n";
const int FirstField = 1100;
const UINT StepMs = 300;
const DWORD DeadlineMs = 8000;

struct QuestionsSession {
    std::string path;
    int step;
    DWORD started;
    BOOL captured;
} session;

BOOL CALLBACK FindQuestions(HWND window, LPARAM param) {
    if (IsWindowVisible(window) && GetDlgItem(window, FirstField)) {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK QuestionsStep(HWND, UINT, UINT_PTR, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindQuestions, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog)
        return;
    if (GetTickCount() - session.started > DeadlineMs) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    switch (session.step++) {
    case 0: // a name typed over the default
        SetDlgItemTextA(dialog, FirstField, "佐藤");
        SendDlgItemMessageA(dialog, FirstField, EM_SETSEL, 2, 2);
        break;
    case 1: {
        // Exactly the dialog's window: any margin would show the compose
        // window behind it.
        RECT area;
        GetWindowRect(dialog, &area);
        session.captured = SaveScreenAreaAsPng(area, session.path.c_str());
        break;
    }
    default:
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
}

// Sets "UseVariables" (null value: removes it); returns whether it was set,
// with its value in before.
bool SwapVariablesSetting(const DWORD* value, DWORD* before) {
    HKEY root = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, StoreKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                        &root, nullptr) != ERROR_SUCCESS)
        return false;
    DWORD size = sizeof *before, type = 0;
    bool present = RegQueryValueExA(root, "UseVariables", nullptr, &type,
                                    reinterpret_cast<BYTE*>(before), &size) == ERROR_SUCCESS &&
                   type == REG_DWORD;
    if (value)
        RegSetValueExA(root, "UseVariables", 0, REG_DWORD, reinterpret_cast<const BYTE*>(value),
                       sizeof *value);
    else
        RegDeleteValueA(root, "UseVariables");
    RegCloseKey(root);
    return present;
}

bool WriteEntry() {
    HKEY entry = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, EntryKey, 0, nullptr, 0, KEY_WRITE, nullptr, &entry,
                        nullptr) != ERROR_SUCCESS)
        return false;
    RegSetValueExA(entry, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(EntryTitle),
                   sizeof EntryTitle);
    RegSetValueExA(entry, "URL", 0, REG_SZ, reinterpret_cast<const BYTE*>(EntryText),
                   sizeof EntryText);
    RegCloseKey(entry);
    return true;
}

UINT FindEntryCommand(HMENU tools) {
    int count = GetMenuItemCount(tools);
    for (int position = 0; position < count; ++position) {
        HMENU popup = GetSubMenu(tools, position);
        int items = popup ? GetMenuItemCount(popup) : 0;
        for (int item = 0; item < items; ++item) {
            char text[128] = {};
            if (GetMenuStringA(popup, item, text, sizeof text, MF_BYPOSITION) &&
                std::string(text) == EntryTitle)
                return GetMenuItemID(popup, item);
        }
    }
    return 0;
}

} // namespace

BOOL PhotographQuestions(HWND compose, const char* path) {
    const DWORD on = 1;
    DWORD before = 0;
    bool wasSet = SwapVariablesSetting(&on, &before);
    session = QuestionsSession{path, 0, GetTickCount(), FALSE};
    if (WriteEntry()) {
        HMENU bar = GetMenu(compose);
        SendMessageA(compose, WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0);
        UINT command = FindEntryCommand(GetSubMenu(bar, ComposeToolsPosition));
        if (command) {
            UINT_PTR timer = SetTimer(nullptr, 0, StepMs, QuestionsStep);
            SetForegroundWindow(compose);
            SendMessageA(compose, WM_COMMAND, MAKEWPARAM(command, 0), 0);
            KillTimer(nullptr, timer);
        }
        RegDeleteKeyA(HKEY_CURRENT_USER, EntryKey);
    }
    DWORD ignored = 0;
    SwapVariablesSetting(wasSet ? &before : nullptr, &ignored);
    return session.captured;
}
