#include "sheet_driver.h"

#include "dialog_steps.h"
#include "modal_closer.h"
#include "common/proc_cast.h"

#include <commctrl.h>

namespace {
const int kApplyButtonId = 0x3021;
}

bool RunSettingSheet(const std::vector<SheetAction>& actions) {
    HMODULE editor = LoadLibraryA("Vandry.dll");
    if (!editor)
        return false;
    auto setUp = GetProcAs<void(WINAPI*)()>(editor, "SetUpTevrix");
    if (!setUp) {
        FreeLibrary(editor);
        return false;
    }
    size_t next = 0;
    ModalCloser closer([&] {
        HWND sheet = FindThreadWindow("#32770");
        if (!sheet || next >= actions.size())
            return;
        actions[next++](sheet);
    });
    setUp();
    bool closedByActions = !closer.TimedOut() && next == actions.size();
    FreeLibrary(editor);
    return closedByActions;
}

void SelectPage(HWND sheet, int index) {
    SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

HWND CurrentPage(HWND sheet) {
    return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

std::string CurrentTabTitle(HWND sheet) {
    return SheetTabTitle(sheet);
}

void PressSheetButton(HWND sheet, int button) {
    SendMessageA(sheet, PSM_PRESSBUTTON, static_cast<WPARAM>(button), 0);
}

bool ApplyEnabled(HWND sheet) {
    HWND apply = GetDlgItem(sheet, kApplyButtonId);
    return apply && IsWindowEnabled(apply);
}

void ClickControl(HWND page, int id) {
    SendMessageA(GetDlgItem(page, id), BM_CLICK, 0, 0);
}

bool IsChecked(HWND page, int id) {
    return SendMessageA(GetDlgItem(page, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

long long StoredRootNumber(const char* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, "Software\\Ostrel\\Tevrix", name, RRF_RT_REG_DWORD, nullptr,
                     &value, &size) != ERROR_SUCCESS)
        return -1;
    return value;
}

long long StoredUseAddress() {
    return StoredRootNumber("UseAddress");
}

void StoreRootNumber(const char* name, DWORD value) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Ostrel\\Tevrix", 0, nullptr, 0, KEY_WRITE,
                    nullptr, &key, nullptr);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

void StoreUseAddress(DWORD value) {
    StoreRootNumber("UseAddress", value);
}
