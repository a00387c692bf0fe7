#include "settings/sheet/page_window.h"

#include <prsht.h>

void MakePageWindow(HWND page, int index) {
    HWND sheet = ::GetParent(page);
    LRESULT self = ::SendMessageA(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page), 0);
    ::SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(self), 0);
}
