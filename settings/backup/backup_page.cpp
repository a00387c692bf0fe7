#include "settings/backup/backup_page.h"

#include "framework/file_dialog.h"
#include "settings/backup/backup_import_dialog.h"
#include "settings/backup/backup_file.h"
#include "settings/backup/menu_backup.h"
#include "settings/imports/favorites/title_clash.h"
#include "settings/resources/backup_ids.h"
#include "settings/resources/shared_menu_ids.h"
#include "settings/shared_menu/shared_menu_export.h"
#include "settings/shared_menu/shared_menu_page.h"
#include "settings/sheet/page_window.h"

#include <cstdio>

namespace {
const char kMessageCaption[] = "Tevrix";
const char kFilter[] = "ﾒﾆｭｰ ﾌｧｲﾙ (*.json)|*.json|全てのﾌｧｲﾙ (*.*)|*.*||";
const char kDefaultExtension[] = "json";
const char kDefaultFileName[] = "Tevrix.json";
const char kExportTitle[] = "メニューのエクスポート";
const char kImportTitle[] = "メニューのインポート";

const char kCannotWrite[] = "ファイルに保存できませんでした";
const char kTooDeepToExportFormat[] = "サブメニューの階層が深すぎるため保存できません(%d階層まで)";
const char kUnconvertibleFormat[] =
    "Shift-JISの文字として読めないバイトが%d個あり、「?」として保存しました";
const char kReplacedFormat[] = "Shift-JISにない文字が%d文字あり、「?」に置き換えました";
const char kCannotImport[] = "メニューを読み込めませんでした";
const char kMenuNotLoaded[] =
    "メニューを最後まで読み込めなかったため、エクスポートもインポートもできません";
const char kTooDeepFormat[] = "サブメニューの階層が深すぎます(%d階層まで)";

std::string Counted(const char* format, int count) {
    char text[256];
    std::snprintf(text, sizeof text, format, count);
    return text;
}

// The reason a file is refused, as the box tells it.
std::string RefusalText(BackupError error) {
    switch (error) {
    case BackupError::kCannotRead:
        return "ファイルを読み込めません";
    case BackupError::kTooLarge:
        return "ファイルが大きすぎます(64MBまで)";
    case BackupError::kInvalidUtf8:
        return "UTF-8として正しくない文字があります";
    case BackupError::kNotJson:
        return "JSON形式のファイルではありません";
    case BackupError::kOtherFormat:
        return "Tevrixのメニューのファイルではありません";
    case BackupError::kNewerVersion:
        return "新しい版のTevrixで保存されたファイルのため読み込めません";
    case BackupError::kBadMenu:
        return "メニューの形式が正しくありません";
    case BackupError::kTooDeep:
        return Counted(kTooDeepFormat, kMaxBackupLevels);
    case BackupError::kNone:
        break;
    }
    return kCannotImport;
}

// The file name of path without its folder and its extension (Shift-JIS aware).
std::string FileTitle(const std::string& path) {
    size_t start = 0, dot = std::string::npos;
    for (const char* p = path.c_str(); *p; p = ::CharNextA(p)) {
        size_t at = static_cast<size_t>(p - path.c_str());
        if (*p == '\\' || *p == '/' || *p == ':') {
            start = at + 1;
            dot = std::string::npos;
        } else if (*p == '.') {
            dot = at;
        }
    }
    return path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
}
} // namespace

BEGIN_MESSAGE_MAP(CBackupPage, CPropertyPage)
ON_BN_CLICKED(IDC_BACKUP_EXPORT, OnExport)
ON_BN_CLICKED(IDC_BACKUP_IMPORT, OnImport)
ON_BN_CLICKED(IDC_EXPORT_SHARED, OnExportShared)
END_MESSAGE_MAP()

CBackupPage::CBackupPage(CURLPage& menuPage, int menuPageIndex)
    : CPropertyPage(IDD_BACKUP_PAGE), m_menuPage(menuPage), m_nMenuPageIndex(menuPageIndex) {}

CBackupPage::~CBackupPage() = default;

BOOL CBackupPage::OnInitDialog() {
    BOOL focus = CPropertyPage::OnInitDialog();
    if (m_pSharedMenuPage)
        m_pSharedMenuPage->RememberSharedFile();
    return focus;
}

CURLPage& CBackupPage::MenuPage() {
    // The sheet makes a page's window when it is first selected.
    if (!m_menuPage.GetSafeHwnd())
        MakePageWindow(m_hWnd, m_nMenuPageIndex);
    return m_menuPage;
}

void CBackupPage::Tell(const char* text) const {
    ::MessageBoxA(m_hWnd, text, kMessageCaption, MB_OK);
}

// The commands run inside the system's dispatch of the click: nothing may
// leave them as an exception.
void CBackupPage::OnExport() {
    try {
        Export();
    } catch (...) {
        Tell(kCannotWrite);
    }
}

void CBackupPage::OnImport() {
    try {
        Import();
    } catch (...) {
        Tell(kCannotImport);
    }
}

void CBackupPage::OnExportShared() {
    try {
        if (m_pSharedMenuPage)
            ExportSharedMenu(MenuPage(), m_pSharedMenuPage->Source(), m_pSharedMenuPage->Stamp(),
                             m_hWnd);
    } catch (...) {
        Tell(kCannotWrite);
    }
}

void CBackupPage::Export() {
    // Half a menu is no backup, and the page would not save an import.
    CURLPage& page = MenuPage();
    if (!page.HoldsWholeMenu()) {
        Tell(kMenuNotLoaded);
        return;
    }
    CFileDialog chooser(FALSE, kDefaultExtension, kDefaultFileName,
                        OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST, kFilter,
                        m_hWnd);
    chooser.m_ofn.lpstrTitle = kExportTitle;
    if (chooser.DoModal() != IDOK)
        return;
    std::string file;
    int unconvertible = 0;
    if (!ExportMenu(page, file, unconvertible)) {
        Tell(Counted(kTooDeepToExportFormat, kMaxBackupLevels).c_str());
        return;
    }
    if (!WriteFileReplacing(chooser.GetPathName().c_str(), file)) {
        Tell(kCannotWrite);
        return;
    }
    if (unconvertible > 0)
        Tell(Counted(kUnconvertibleFormat, unconvertible).c_str());
}

void CBackupPage::Import() {
    CURLPage& page = MenuPage();
    if (!page.HoldsWholeMenu()) {
        Tell(kMenuNotLoaded);
        return;
    }
    CFileDialog chooser(TRUE, kDefaultExtension, nullptr,
                        OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST, kFilter, m_hWnd);
    chooser.m_ofn.lpstrTitle = kImportTitle;
    if (chooser.DoModal() != IDOK)
        return;
    std::string path = chooser.GetPathName();
    LoadedBackup backup;
    BackupError error = LoadBackup(path.c_str(), backup);
    if (error != BackupError::kNone) {
        Tell(RefusalText(error).c_str());
        return;
    }
    std::string title = FileTitle(path);
    BackupImportDialog question(title, m_hWnd);
    if (question.DoModal() != IDOK)
        return;

    if (question.m_bReplace) {
        if (!ReplaceMenu(page, backup)) {
            Tell(kCannotImport);
            return;
        }
    } else {
        // One level more than the file's own: the new submenu itself.
        if (backup.levels + 1 > kMaxBackupLevels) {
            Tell(RefusalText(BackupError::kTooDeep).c_str());
            return;
        }
        HTREEITEM top = page.TopItem();
        HTREEITEM replaced = nullptr;
        BackupTitleDialog titleDialog(m_hWnd);
        if (!top || !ChooseTopLevelTitle(page.GetTree(), top, m_hWnd, titleDialog, title, replaced))
            return;
        HTREEITEM submenu = AddMenuAsSubmenu(page, backup, title, replaced);
        if (!submenu) {
            Tell(kCannotImport);
            return;
        }
        page.GetTree().SelectItem(submenu);
    }
    page.MarkChanged();
    if (backup.replaced > 0)
        Tell(Counted(kReplacedFormat, backup.replaced).c_str());
}
