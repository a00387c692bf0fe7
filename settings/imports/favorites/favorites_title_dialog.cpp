#include "settings/imports/favorites/favorites_title_dialog.h"

#include "settings/resources/import_ids.h"

FavoritesTitleDialog::FavoritesTitleDialog(HWND parent)
    : CDialog(IDD_FAVORITES_TITLE, parent), m_bOverwrite(FALSE) {}

void FavoritesTitleDialog::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Text(dx, IDC_IMPORT_TITLE, m_strTitle);
    DDX_Check(dx, IDC_OVERWRITE, m_bOverwrite);
}
