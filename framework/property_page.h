// One page of a property sheet, made from a dialog template when it is first shown.
#pragma once
#include "framework/dialog.h"

#include <prsht.h>

#include <string>

class CPropertyPage : public CDialog {
  public:
    // captionId: a string resource for the tab title; 0 keeps the template's caption.
    explicit CPropertyPage(UINT templateId, UINT captionId = 0);

    // Tells the sheet that the page has changes (enables Apply) or has none.
    void SetModified(BOOL changed = TRUE);

    // The page description the sheet hands to the system.
    PROPSHEETPAGEA m_psp;

  protected:
    // The sheet's OK or Apply, for a page that has been shown: FALSE keeps the sheet
    // open on this page. The default accepts.
    virtual BOOL OnApply();
    // The page becomes the current one: members go to the controls, except
    // the first time, when the dialog initialisation has just done it.
    virtual BOOL OnSetActive();
    // The page stops being the current one (or OK/Apply): controls to members.
    virtual BOOL OnKillActive();
    // The sheet is cancelled.
    virtual void OnReset();
    // A page is no dialog of its own: OK and Cancel are the sheet's.
    void OnOK() override {}
    void OnCancel() override {}

    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // An apply that threw keeps the sheet open on this page, so that nothing
    // the user entered is lost; so does a failure while leaving the page. A
    // page that failed to initialise stays, showing what it has.
    INT_PTR AnswerAfterFailure(UINT message, WPARAM wParam, LPARAM lParam) noexcept override;

  private:
    static INT_PTR CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    std::string m_strCaption;
    bool m_bFirstSetActive = true;
};
