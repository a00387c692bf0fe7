#include "settings/backup/backup_import_dialog.h"

#include "settings/resources/backup_ids.h"

namespace {
const char kCaption[] = "メニューのインポート";
const char kSubmenuChoiceStart[] = "新しいサブメニュー「";
const char kSubmenuChoiceEnd[] = "」として最後に追加する";
} // namespace

BackupImportDialog::BackupImportDialog(const std::string& submenuTitle, HWND parent)
    : CDialog(IDD_BACKUP_IMPORT, parent), m_bReplace(FALSE), m_strSubmenuTitle(submenuTitle) {}

BOOL BackupImportDialog::OnInitDialog() {
    std::string choice = kSubmenuChoiceStart + m_strSubmenuTitle + kSubmenuChoiceEnd;
    ::SetWindowTextA(GetDlgItem(IDC_IMPORT_AS_SUBMENU), choice.c_str());
    // Adding loses nothing, so it is the choice that Enter takes.
    ::CheckRadioButton(m_hWnd, IDC_IMPORT_AS_SUBMENU, IDC_IMPORT_REPLACE,
                       m_bReplace ? IDC_IMPORT_REPLACE : IDC_IMPORT_AS_SUBMENU);
    return TRUE;
}

void BackupImportDialog::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    if (dx->m_bSaveAndValidate)
        DDX_Check(dx, IDC_IMPORT_REPLACE, m_bReplace);
}

BOOL BackupTitleDialog::OnInitDialog() {
    BOOL focus = FavoritesTitleDialog::OnInitDialog();
    ::SetWindowTextA(m_hWnd, kCaption);
    return focus;
}
