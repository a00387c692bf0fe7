// Resource ids of the page "バックアップ" and its import question.
#pragma once

#define IDD_BACKUP_PAGE 105
#define IDD_BACKUP_IMPORT 106

#define IDC_BACKUP_EXPORT 1015     // "ｴｸｽﾎﾟｰﾄ"
#define IDC_BACKUP_IMPORT 1016     // "ｲﾝﾎﾟｰﾄ"
#define IDC_IMPORT_AS_SUBMENU 1017 // add the file's menu as a new submenu
#define IDC_IMPORT_REPLACE 1018    // replace the whole menu by the file's
