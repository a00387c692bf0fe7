// The button "変数..." beside the string box: its menu inserts a variable's
// syntax at the box's caret, as if typed, so the entry counts as edited.
#include "settings/menu_page/url_page.h"

#include "settings/menu_page/variable_menu.h"
#include "settings/resources/resource.h"

void CURLPage::OnInsertVariable() {
    HWND box = GetDlgItem(IDC_ENTRY_STRING);
    HWND button = GetDlgItem(IDC_INSERT_VARIABLE);
    if (!::IsWindowEnabled(box))
        return;
    RECT rect = {};
    ::GetWindowRect(button, &rect);
    SYSTEMTIME now = {};
    ::GetLocalTime(&now);
    std::string syntax = ChooseVariable(m_hWnd, POINT{rect.left, rect.bottom}, now);
    if (syntax.empty())
        return;
    ::SendMessageA(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(syntax.c_str()));
    ::SetFocus(box);
}
