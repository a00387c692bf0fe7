// Dialog data exchange: moves values between a dialog's controls and its
// member variables, in the direction the exchange object says.
#pragma once
#include "framework/wnd.h"

#include <string>

class CDataExchange {
  public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    // The control with that id in the dialog, or null.
    HWND PrepareCtrl(int id) const { return ::GetDlgItem(m_pDlgWnd->m_hWnd, id); }

    BOOL m_bSaveAndValidate; // TRUE: controls to members; FALSE: members to controls
    CWnd* m_pDlgWnd;
};

// The control's whole text and the string (code page bytes, as the control holds them).
void DDX_Text(CDataExchange* dx, int id, std::string& value);

// A check box's state: 0 clear, 1 ticked, 2 indeterminate. A member outside
// 0 to 2 is shown as clear and reset to 0.
void DDX_Check(CDataExchange* dx, int id, int& value);

// Binds a control wrapper to the dialog's control, in either direction.
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
