#include "settings/shared_menu/shared_menu_page.h"

#include "framework/app.h"
#include "framework/data_exchange.h"
#include "framework/file_dialog.h"
#include "settings/menu_page/menu_tree_images.h"
#include "settings/resources/resource.h"
#include "settings/resources/shared_menu_ids.h"
#include "settings/sheet/page_window.h"
#include "settings/shared_menu/shared_menu_copy.h"
#include "settings/shared_menu/shared_menu_source.h"
#include "settings/shared_menu/shared_menu_state.h"

namespace {
const char kCaption[] = "Tevrix";
const char kFilter[] = "ﾒﾆｭｰ ﾌｧｲﾙ (*.json)|*.json|全てのﾌｧｲﾙ (*.*)|*.*||";
const char kBrowseTitle[] = "共有メニューのファイル";
const char kInvalidSource[] =
    "共有メニューの場所は、フルパス (X:\\... や \\\\server\\share\\...) か、https:// で始まる"
    "アドレスで指定してください。\r\nhttp:// はこのPC (127.0.0.1, localhost) にだけ使えます。";
const char kCannotSave[] = "共有メニューの設定を保存できませんでした。";
const char kMenuNotLoaded[] = "メニューを最後まで読み込めなかったため、コピーできません";
const char kTooDeep[] = "サブメニューの階層が深すぎるため、ここにはコピーできません";
const char kCannotCopy[] = "コピーできませんでした";
} // namespace

BEGIN_MESSAGE_MAP(CSharedMenuPage, CPropertyPage)
ON_BN_CLICKED(IDC_SHARED_BROWSE, OnBrowse)
ON_BN_CLICKED(IDC_SHARED_COPY, OnCopy)
ON_EN_CHANGE(IDC_SHARED_SOURCE, OnEdited)
ON_EN_CHANGE(IDC_SHARED_TITLE, OnEdited)
ON_NOTIFY(TVN_SELCHANGEDA, IDC_SHARED_TREE, OnTreeSelChanged)
ON_NOTIFY(TVN_ITEMEXPANDINGA, IDC_SHARED_TREE, OnTreeItemExpanding)
END_MESSAGE_MAP()

CSharedMenuPage::CSharedMenuPage(CURLPage& menuPage, int menuPageIndex)
    : CPropertyPage(IDD_SHARED_MENU_PAGE), m_menuPage(menuPage), m_nMenuPageIndex(menuPageIndex) {}

void CSharedMenuPage::RememberSharedFile() {
    m_stamp.Remember(StoredSharedSource());
}

CSharedMenuPage::~CSharedMenuPage() = default;

std::string CSharedMenuPage::Source() const {
    if (!m_hWnd)
        return StoredSharedSource();
    char text[2048] = "";
    ::GetDlgItemTextA(m_hWnd, IDC_SHARED_SOURCE, text, sizeof text);
    return Trimmed(text);
}

void CSharedMenuPage::DoDataExchange(CDataExchange* dx) {
    CPropertyPage::DoDataExchange(dx);
    DDX_Control(dx, IDC_SHARED_TREE, m_tree);
    DDX_Text(dx, IDC_SHARED_SOURCE, m_strSource);
    DDX_Text(dx, IDC_SHARED_TITLE, m_strTitle);
}

BOOL CSharedMenuPage::OnInitDialog() {
    m_strSource = StoredSharedSource();
    m_strTitle = StoredSharedTitle();
    if (m_strTitle.empty())
        m_strTitle = kDefaultSharedTitle;
    m_bFilling = true;
    CPropertyPage::OnInitDialog();
    m_bFilling = false;
    SetMenuTreeImages(m_imageList, m_tree);
    return TRUE;
}

BOOL CSharedMenuPage::OnSetActive() {
    BOOL active = CPropertyPage::OnSetActive();
    // The plug-in may have read the source since the page was last shown.
    ShowState();
    return active;
}

BOOL CSharedMenuPage::OnApply() {
    m_bFilling = true;
    UpdateData(TRUE);
    m_bFilling = false;
    std::string source = Trimmed(m_strSource);
    if (ClassifySharedSource(source) == SharedSourceKind::kInvalid) {
        // OK pressed on another page: this is the page to mend.
        HWND sheet = GetParent();
        LRESULT self = ::SendMessageA(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(m_hWnd), 0);
        ::SendMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(self), 0);
        Tell(kInvalidSource);
        ::SetFocus(GetDlgItem(IDC_SHARED_SOURCE));
        return FALSE;
    }
    // The default title is not stored: a later default reaches this user too.
    std::string title = Trimmed(m_strTitle);
    if (title == kDefaultSharedTitle)
        title.clear();
    if (!StoreSharedMenu(source, title)) {
        Tell(kCannotSave);
        SetModified(TRUE);
        return FALSE;
    }
    ShowState();
    return CPropertyPage::OnApply();
}

void CSharedMenuPage::ShowState() {
    std::string setting = StoredSharedSource();
    std::wstring folder = SharedMenuFolder();
    SharedMenuState state = ReadSharedMenuState(folder);
    ::SetDlgItemTextA(m_hWnd, IDC_SHARED_STATE, StateInWords(state, setting).c_str());
    // A copy of another source is never shown.
    m_copy = LoadedBackup();
    if (StateBelongsTo(state, setting) && !state.copyRead.empty() &&
        LoadSharedMenuCopy(folder, m_copy) != BackupError::kNone)
        m_copy = LoadedBackup();
    std::string title = StoredSharedTitle();
    FillTree(title.empty() ? kDefaultSharedTitle : title);
}

void CSharedMenuPage::FillTree(const std::string& title) {
    m_tree.DeleteAllItems();
    ::EnableWindow(GetDlgItem(IDC_SHARED_COPY), FALSE);
    if (m_copy.entries.empty())
        return;
    try {
        AddItems(title);
    } catch (...) {
        // Half a shared menu would be copied as if it were whole.
        m_tree.DeleteAllItems();
        m_copy = LoadedBackup();
        throw;
    }
}

void CSharedMenuPage::AddItems(const std::string& title) {
    // Tree order: each entry's submenu follows it; open[d] holds depth d's parent.
    HTREEITEM top = m_tree.InsertItem(title.c_str(), 1, 1);
    std::vector<HTREEITEM> open{top};
    for (size_t i = 0; i < m_copy.entries.size(); ++i) {
        const BackupEntry& entry = m_copy.entries[i];
        size_t level = static_cast<size_t>(entry.depth) + 1;
        if (level < open.size())
            open.resize(level);
        int image = entry.submenu ? 1 : 0;
        TVINSERTSTRUCTA insert{};
        insert.hParent = open.back();
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
        insert.item.pszText = const_cast<char*>(entry.title.c_str());
        insert.item.iImage = image;
        insert.item.iSelectedImage = image;
        insert.item.lParam = static_cast<LPARAM>(i + 1);
        HTREEITEM item = m_tree.InsertItem(&insert);
        if (!item) {
            m_tree.DeleteAllItems();
            m_copy = LoadedBackup();
            return;
        }
        if (entry.submenu)
            open.push_back(item);
    }
    m_tree.Expand(top, TVE_EXPAND);
}

void CSharedMenuPage::OnEdited() {
    if (!m_bFilling)
        SetModified(TRUE);
}

void CSharedMenuPage::OnBrowse() {
    // Also a file not there yet: its maintainer may be about to write it.
    CFileDialog chooser(TRUE, "json", nullptr, OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, kFilter,
                        m_hWnd);
    chooser.m_ofn.lpstrTitle = kBrowseTitle;
    if (chooser.DoModal() == IDOK)
        ::SetDlgItemTextA(m_hWnd, IDC_SHARED_SOURCE, chooser.GetPathName().c_str());
}

void CSharedMenuPage::OnTreeSelChanged(NMHDR* header, LRESULT*) {
    auto* change = reinterpret_cast<NMTREEVIEWA*>(header);
    ::EnableWindow(GetDlgItem(IDC_SHARED_COPY), change->itemNew.hItem != nullptr);
}

void CSharedMenuPage::OnTreeItemExpanding(NMHDR* header, LRESULT*) {
    ShowFolderOpenOrClosed(m_tree, reinterpret_cast<NMTREEVIEWA*>(header));
}

void CSharedMenuPage::OnCopy() {
    HTREEITEM selected = m_tree.GetSelectedItem();
    if (!selected || m_copy.entries.empty())
        return;
    if (!m_menuPage.GetSafeHwnd())
        MakePageWindow(m_hWnd, m_nMenuPageIndex);
    if (!m_menuPage.HoldsWholeMenu())
        return Tell(kMenuNotLoaded);
    // Item data 0 is the top item: the whole shared menu as one submenu.
    size_t first = static_cast<size_t>(m_tree.GetItemData(selected));
    first = first == 0 ? m_copy.entries.size() : first - 1;
    switch (CopySharedItem(m_menuPage, m_copy.entries, first, m_tree.GetItemText(selected))) {
    case SharedCopyResult::kCopied:
        break;
    case SharedCopyResult::kTooDeep:
        return Tell(kTooDeep);
    case SharedCopyResult::kNotInserted:
        return Tell(kCannotCopy);
    }
}

void CSharedMenuPage::Tell(const char* text) const {
    ::MessageBoxA(m_hWnd, text, kCaption, MB_OK | MB_ICONWARNING);
}
