// A modal dialog run from a dialog template of the resource module.
#pragma once
#include "framework/data_exchange.h"

class CDialog : public CWnd {
  public:
    // parent: the owner window; with none the active window of the thread owns it.
    explicit CDialog(UINT templateId, HWND parent = nullptr);

    // Runs the dialog; the value given to EndDialog, or -1 when it could not be made.
    virtual INT_PTR DoModal();
    void EndDialog(int result) const { ::EndDialog(m_hWnd, result); }

    // TRUE: controls to members; FALSE: members to controls.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    UINT m_nIDTemplate;

  protected:
    // Members to controls; TRUE lets the dialog set the default focus.
    virtual BOOL OnInitDialog();
    // Controls to members, then ends the dialog with IDOK.
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* dx);

    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // Dialog procedure body shared with property pages, once the window is
    // attached. Nothing a handler throws gets past it (framework/guard.h).
    INT_PTR GuardedDialogMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    // What the procedure answers for a message whose handling threw. The
    // default: a dialog that could not initialise is cancelled; any other
    // message goes on to the dialog's default handling.
    virtual INT_PTR AnswerAfterFailure(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    // Binds the object to its window for the window's lifetime.
    void Attach(HWND window);

    HWND m_hParent;

  private:
    INT_PTR HandleDialogMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Unbinds the object from its window, which is going away.
    void Detach() noexcept;

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

// The dialog object attached to a dialog window, or null.
CDialog* DialogFromHandle(HWND window);
