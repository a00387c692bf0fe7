// The settings sheet run from the editor's classes linked into the program.
#include "menu_page_driver.h"

#include "modal_closer.h"
#include "settings/sheet/setting_sheet.h"

bool RunMenuSheet(const std::vector<SheetAction>& actions) {
    size_t next = 0;
    ModalCloser closer(
        [&] {
            HWND sheet = FindThreadWindow("#32770");
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
