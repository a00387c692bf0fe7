// "HTMLファイルの挿入": asks for the title of the new submenu and the HTML file
// whose links fill it. Browsing for the file proposes the file's own title
// when none has been typed.
#pragma once
#include "framework/dialog.h"

#include <string>

class HtmlInsertDialog : public CDialog {
  public:
    explicit HtmlInsertDialog(HWND parent = nullptr);

    std::string m_strFilePath; // control 1006
    std::string m_strTitle;    // control 1003

  protected:
    void DoDataExchange(CDataExchange* dx) override;
    // Accepts only a title and a file name that are not empty.
    void OnOK() override;
    void OnBrowse();

    DECLARE_MESSAGE_MAP()

  private:
    // A message box owned by the dialog, then the focus on the field to fix.
    void Complain(const char* text, int fieldId);
};
