#include "dialog_steps.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

#include "modal_closer.h"

std::string DialogItemText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    std::vector<char> text(GetWindowTextLengthA(control) + 1, '\0');
    GetWindowTextA(control, text.data(), static_cast<int>(text.size()));
    return text.data();
}

void ClickButton(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::string SheetTabTitle(HWND sheet, int index) {
    auto tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
    if (index < 0)
        index = static_cast<int>(SendMessageA(tabs, TCM_GETCURSEL, 0, 0));
    char text[128] = "";
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(tabs, TCM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    return item.pszText;
}

INT_PTR RunModalWithStep(const std::function<INT_PTR()>& runModal,
                         const std::function<void(HWND)>& step) {
    bool done = false;
    ModalCloser closer([&] {
        HWND window = FindThreadWindow("#32770");
        if (!window || done)
            return;
        done = true;
        step(window);
    });
    INT_PTR result = runModal();
    EXPECT_FALSE(closer.TimedOut());
    return result;
}
