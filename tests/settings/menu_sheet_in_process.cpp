// The settings sheet run from the editor's classes linked into the program.
#include "menu_page_driver.h"

#include "modal_closer.h"
#include "settings/sheet/setting_sheet.h"

namespace {
// The topmost dialog of the thread, or the sheet under a modeless dialog
// (Find), which leaves its owner enabled as a modal box would not.
HWND ActionTarget() {
    HWND top = FindThreadWindow("#32770");
    HWND owner = top ? GetWindow(top, GW_OWNER) : nullptr;
    return owner && IsWindowEnabled(owner) ? owner : top;
}
} // namespace

bool RunMenuSheet(const std::vector<SheetAction>& actions) {
    size_t next = 0;
    ModalCloser closer(
        [&] {
            HWND sheet = ActionTarget();
            if (!sheet || next >= actions.size())
                return;
            actions[next++](sheet);
        },
        50, 20000);
    {
        CSettingSheet sheet(nullptr);
        sheet.DoModal();
    }
    return !closer.TimedOut() && next == actions.size();
}
