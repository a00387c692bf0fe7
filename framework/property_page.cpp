#include "framework/property_page.h"

#include "framework/app.h"

CPropertyPage::CPropertyPage(UINT templateId, UINT captionId) : CDialog(templateId), m_psp{} {
    m_psp.dwSize = sizeof m_psp;
    m_psp.dwFlags = PSP_DEFAULT;
    m_psp.hInstance = AfxGetResourceHandle();
    m_psp.pszTemplate = MAKEINTRESOURCEA(templateId);
    m_psp.pfnDlgProc = PageProc;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
    if (captionId != 0) {
        m_strCaption = AfxLoadString(captionId);
        m_psp.dwFlags |= PSP_USETITLE;
        m_psp.pszTitle = m_strCaption.c_str();
    }
}

void CPropertyPage::SetModified(BOOL changed) {
    ::SendMessageA(GetParent(), changed ? PSM_CHANGED : PSM_UNCHANGED,
                   reinterpret_cast<WPARAM>(m_hWnd), 0);
}

BOOL CPropertyPage::OnApply() {
    OnOK();
    return TRUE;
}

BOOL CPropertyPage::OnSetActive() {
    if (m_bFirstSetActive)
        m_bFirstSetActive = false;
    else
        UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive() {
    return UpdateData(TRUE);
}

void CPropertyPage::OnReset() {
    OnCancel();
}

bool CPropertyPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        switch (header->code) {
        case PSN_SETACTIVE:
            *result = OnSetActive() ? 0 : -1;
            return true;
        case PSN_KILLACTIVE:
            *result = OnKillActive() ? FALSE : TRUE;
            return true;
        case PSN_APPLY:
            *result = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
            return true;
        case PSN_RESET:
            OnReset();
            *result = 0;
            return true;
        default:
            break;
        }
    }
    // Skips the dialog's own OK/Cancel handling: the page's buttons are the sheet's.
    return CWnd::OnMessage(message, wParam, lParam, result);
}

INT_PTR CPropertyPage::AnswerAfterFailure(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_NOTIFY) {
        switch (reinterpret_cast<NMHDR*>(lParam)->code) {
        case PSN_APPLY:
            ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, PSNRET_INVALID_NOCHANGEPAGE);
            return TRUE;
        case PSN_KILLACTIVE:
            ::SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, TRUE);
            return TRUE;
        default:
            break;
        }
    }
    return CDialog::AnswerAfterFailure(message, wParam, lParam);
}

INT_PTR CALLBACK CPropertyPage::PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        // The system passes its copy of the page description; lParam is ours.
        auto* description = reinterpret_cast<PROPSHEETPAGEA*>(lParam);
        reinterpret_cast<CPropertyPage*>(description->lParam)->Attach(window);
    }
    CDialog* page = DialogFromHandle(window);
    if (!page)
        return FALSE;
    return static_cast<CPropertyPage*>(page)->GuardedDialogMessage(message, wParam, lParam);
}
