#include "framework/data_exchange.h"

void DDX_Text(CDataExchange* dx, int id, std::string& value) {
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        int length = ::GetWindowTextLengthA(control);
        std::string text(length > 0 ? length + 1 : 1, '\0');
        int copied = ::GetWindowTextA(control, &text[0], static_cast<int>(text.size()));
        text.resize(copied > 0 ? copied : 0);
        value = text;
    } else {
        ::SetWindowTextA(control, value.c_str());
    }
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
    HWND control = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessageA(control, BM_GETCHECK, 0, 0));
    } else {
        if (value < 0 || value > 2)
            value = 0;
        ::SendMessageA(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    // A dialog object may be run more than once; each run has new control windows.
    control.m_hWnd = dx->PrepareCtrl(id);
}
