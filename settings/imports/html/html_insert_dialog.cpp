#include "settings/imports/html/html_insert_dialog.h"

#include "framework/file_dialog.h"
#include "settings/imports/html/html_file_title.h"
#include "settings/resources/import_ids.h"

namespace {
const char kHtmlFilter[] = "htmlﾌｧｲﾙ (*.html;*.htm)|*.html;*.htm|全てのﾌｧｲﾙ (*.*)|*.*||";
const char kNoTitle[] = "タイトルが入力されていません";
const char kNoFileName[] = "ファイル名が入力されていません";
const char kMessageCaption[] = "Tevrix";
} // namespace

BEGIN_MESSAGE_MAP(HtmlInsertDialog, CDialog)
ON_BN_CLICKED(IDC_BROWSE_HTML_FILE, OnBrowse)
END_MESSAGE_MAP()

HtmlInsertDialog::HtmlInsertDialog(HWND parent) : CDialog(IDD_HTML_INSERT, parent) {}

void HtmlInsertDialog::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_HTML_FILE, m_strFilePath);
    DDX_Text(dx, IDC_IMPORT_TITLE, m_strTitle);
}

void HtmlInsertDialog::OnBrowse() {
    UpdateData(TRUE);
    CFileDialog chooser(TRUE, "html", m_strFilePath.c_str(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                        kHtmlFilter, m_hWnd);
    if (chooser.DoModal() != IDOK)
        return;
    m_strFilePath = chooser.GetPathName();
    if (m_strTitle.empty())
        ReadHtmlFileTitle(m_strFilePath.c_str(), m_strTitle);
    UpdateData(FALSE);
}

void HtmlInsertDialog::OnOK() {
    UpdateData(TRUE);
    if (m_strTitle.empty()) {
        Complain(kNoTitle, IDC_IMPORT_TITLE);
        return;
    }
    if (m_strFilePath.empty()) {
        Complain(kNoFileName, IDC_HTML_FILE);
        return;
    }
    EndDialog(IDOK);
}

void HtmlInsertDialog::Complain(const char* text, int fieldId) {
    ::MessageBoxA(m_hWnd, text, kMessageCaption, MB_OK);
    ::SetFocus(GetDlgItem(fieldId));
}
