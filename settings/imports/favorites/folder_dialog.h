// A folder chooser made from the classic Open dialog: only the folder list,
// the current folder and the drives stay visible, and OK accepts the folder
// being shown. The dialog works through the process's current directory,
// which is set to the start folder for the run and restored afterwards.
#pragma once
#include "framework/file_dialog.h"

#include <string>

class FolderDialog : public CFileDialog {
  public:
    explicit FolderDialog(const char* startFolder, HWND parent = nullptr);

    void SetCaption(const char* caption);

    // IDOK or IDCANCEL. Whatever the result, GetPathName() is then the folder
    // the dialog was showing when it closed.
    INT_PTR DoModal() override;

    std::string m_strStartFolder;

  protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

  private:
    std::string m_strCaption;
};
