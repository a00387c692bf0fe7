// The common Open (or Save) dialog with a hook that hands its initialisation
// and its OK button to virtual methods.
#pragma once
#include "framework/wnd.h"

#include <commdlg.h>

#include <string>

class CFileDialog : public CWnd {
  public:
    // filter: pairs "description|pattern|" ending in "||", as one string.
    // flags are added to the Explorer style and the hook; OFN_EXPLORER may be
    // cleared from m_ofn.Flags before DoModal for the classic layout.
    explicit CFileDialog(BOOL openFileDialog, const char* defaultExtension = nullptr,
                         const char* fileName = nullptr,
                         DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         const char* filter = nullptr, HWND parent = nullptr);

    // IDOK, or IDCANCEL when the user cancelled or the dialog failed. The
    // process's current directory is the same afterwards as before.
    virtual INT_PTR DoModal();
    // The chosen file's full path.
    std::string GetPathName() const { return m_szFileName; }

    OPENFILENAMEA m_ofn;

  protected:
    // The dialog's window has been initialised (classic layout: the dialog
    // itself; Explorer layout: the hook's child). TRUE sets the default focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    // OK in the classic layout. The default lets the dialog check and accept
    // the file name; an override may end the dialog itself.
    virtual void OnOK() { Default(); }
    void EndDialog(int result) const { ::EndDialog(m_hWnd, result); }
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // The process's current directory, or "" when it cannot be read.
    static std::string CurrentDirectory();

    // The file-name buffer that m_ofn points at.
    char m_szFileName[MAX_PATH];

  private:
    static UINT_PTR CALLBACK HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    UINT_PTR Hook(UINT message, WPARAM wParam, LPARAM lParam);

    BOOL m_bOpenFileDialog;
    std::string m_strDefaultExtension;
    std::string m_strFilter; // each '|' that is a character of its own replaced by NUL
};
