#include "framework/dialog.h"

#include "framework/app.h"
#include "framework/guard.h"

#include <commctrl.h>

CDialog::CDialog(UINT templateId, HWND parent) : m_nIDTemplate(templateId), m_hParent(parent) {}

CDialog* DialogFromHandle(HWND window) {
    return reinterpret_cast<CDialog*>(::GetWindowLongPtrA(window, DWLP_USER));
}

INT_PTR CDialog::DoModal() {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&classes);
    HWND owner = m_hParent ? ::GetAncestor(m_hParent, GA_ROOT) : ::GetActiveWindow();
    return ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), owner,
                             DialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange dx(this, saveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}

bool CDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    // Enter and Esc arrive as clicks of IDOK and IDCANCEL.
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            *result = 0;
            return true;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            *result = 0;
            return true;
        }
    }
    return CWnd::OnMessage(message, wParam, lParam, result);
}

void CDialog::Attach(HWND window) {
    m_hWnd = window;
    ::SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(this));
}

INT_PTR CDialog::HandleDialogMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG)
        return OnInitDialog();
    LRESULT result = 0;
    bool handled = RouteMessage(message, wParam, lParam, &result);
    if (message == WM_NCDESTROY) {
        Detach();
        return FALSE;
    }
    if (!handled)
        return FALSE;
    ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}

INT_PTR CDialog::GuardedDialogMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    HWND window = m_hWnd;
    try {
        return HandleDialogMessage(message, wParam, lParam);
    } catch (...) {
        // The answer after the box: every message that the box's loop hands
        // the dialog resets its DWLP_MSGRESULT.
        AfxReportFailure(window);
        return AnswerAfterFailure(message, wParam, lParam);
    }
}

INT_PTR CDialog::AnswerAfterFailure(UINT message, WPARAM, LPARAM) noexcept {
    switch (message) {
    case WM_INITDIALOG:
        ::EndDialog(m_hWnd, IDCANCEL);
        return TRUE;
    case WM_NCDESTROY:
        Detach();
        return FALSE;
    default:
        return FALSE;
    }
}

void CDialog::Detach() noexcept {
    if (m_hWnd)
        ::SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
    m_hWnd = nullptr;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG)
        reinterpret_cast<CDialog*>(lParam)->Attach(window);
    CDialog* dialog = DialogFromHandle(window);
    if (!dialog)
        return FALSE; // messages before WM_INITDIALOG
    return dialog->GuardedDialogMessage(message, wParam, lParam);
}
