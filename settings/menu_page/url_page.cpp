#include "settings/menu_page/url_page.h"

#include "framework/app.h"
#include "framework/data_exchange.h"
#include "settings/menu_page/menu_tree_images.h"
#include "settings/resources/resource.h"

#include <cstring>

namespace {
const char kMessageCaption[] = "Tevrix";
const char kSaveFailed[] = "メニューを保存できませんでした。";
const char kLoadBusy[] =
    "保存中のメニューを読み込めませんでした。このページの内容は保存されません。";
const char kLoadIncomplete[] =
    "メニューをすべて読み込めませんでした。このページの内容は保存されません。";

// An item's string: a heap copy of exactly the text's length plus its NUL.
char* CopyItemString(const char* text) {
    size_t length = std::strlen(text);
    char* copy = new char[length + 1];
    std::memcpy(copy, text, length + 1);
    return copy;
}
} // namespace

BEGIN_MESSAGE_MAP(CURLPage, CPropertyPage)
ON_BN_CLICKED(IDC_ADD_ENTRY, OnAddEntry)
ON_BN_CLICKED(IDC_ADD_SUBMENU, OnAddSubmenu)
ON_BN_CLICKED(IDC_DELETE_ITEM, OnDelete)
ON_BN_CLICKED(IDC_INSERT_FAVORITES, InsertFavorites)
ON_BN_CLICKED(IDC_INSERT_HTML, InsertFromHtml)
ON_BN_CLICKED(IDC_INSERT_VARIABLE, OnInsertVariable)
ON_EN_CHANGE(IDC_ENTRY_STRING, OnStringChange)
ON_NOTIFY(TVN_SELCHANGEDA, IDC_MENU_TREE, OnTreeSelChanged)
ON_NOTIFY(TVN_ITEMEXPANDINGA, IDC_MENU_TREE, OnTreeItemExpanding)
ON_NOTIFY(TVN_DELETEITEMA, IDC_MENU_TREE, OnTreeDeleteItem)
ON_NOTIFY(TVN_BEGINLABELEDITA, IDC_MENU_TREE, OnTreeBeginLabelEdit)
ON_NOTIFY(TVN_ENDLABELEDITA, IDC_MENU_TREE, OnTreeEndLabelEdit)
ON_NOTIFY(TVN_BEGINDRAGA, IDC_MENU_TREE, OnTreeBeginDrag)
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_CAPTURECHANGED()
ON_WM_CANCELMODE()
ON_WM_DESTROY()
ON_REGISTERED_MESSAGE(CURLPage::FindMessageId, OnFindMessage)
END_MESSAGE_MAP()

CURLPage::CURLPage()
    : CPropertyPage(IDD_URL_PAGE), m_bEntryChanged(FALSE), m_pDragImage(nullptr),
      m_bDragging(FALSE), m_hDragItem(nullptr), m_hDropItem(nullptr), m_bTreeLoaded(FALSE) {}

CURLPage::~CURLPage() {
    // A sheet closed in the middle of a drag still ends the drag image and
    // its keyboard filter.
    StopDragging();
    StopFindKeys();
}

void CURLPage::DoDataExchange(CDataExchange* dx) {
    CPropertyPage::DoDataExchange(dx);
    DDX_Control(dx, IDC_MENU_TREE, m_tree);
    DDX_Text(dx, IDC_ENTRY_STRING, m_strEntry);
}

BOOL CURLPage::OnInitDialog() {
    LoadResult loaded = LoadResult::kNotInserted;
    try {
        CPropertyPage::OnInitDialog();
        SetMenuTreeImages(m_imageList, m_tree);
        loaded = LoadTree();
    } catch (...) {
        // Part of the menu is missing from the tree: editing it and pressing
        // OK would overwrite the whole stored menu with that part.
        DisableEditing();
        throw;
    }
    if (loaded != LoadResult::kLoaded) {
        // The same: OK and Apply leave the store as it is.
        DisableEditing();
        ::MessageBoxA(m_hWnd, loaded == LoadResult::kStoreBusy ? kLoadBusy : kLoadIncomplete,
                      kMessageCaption, MB_OK | MB_ICONWARNING);
        return TRUE;
    }
    m_bTreeLoaded = TRUE;
    StartFindKeys();
    return TRUE;
}

void CURLPage::DisableEditing() {
    const int controls[] = {IDC_MENU_TREE,   IDC_ADD_ENTRY,    IDC_ADD_SUBMENU,
                            IDC_DELETE_ITEM, IDC_ENTRY_STRING, IDC_INSERT_FAVORITES,
                            IDC_INSERT_HTML};
    for (int id : controls)
        ::EnableWindow(GetDlgItem(id), FALSE);
    ::EnableWindow(GetDlgItem(IDC_INSERT_VARIABLE), FALSE);
}

BOOL CURLPage::OnApply() {
    // A tree that was never loaded whole leaves the stored menu as it is.
    if (!m_bTreeLoaded)
        return CPropertyPage::OnApply();
    CommitStringBox();
    if (!SaveTree()) {
        // The store still holds the whole old menu. The sheet stays open with
        // the page changed, so that OK or Apply can try again.
        ::MessageBoxA(m_hWnd, kSaveFailed, kMessageCaption, MB_OK | MB_ICONWARNING);
        MarkChanged();
        return FALSE;
    }
    return CPropertyPage::OnApply();
}

void CURLPage::CommitStringBox() {
    // The selected entry takes the box's text even without a pending edit.
    UpdateData(TRUE);
    HTREEITEM selected = m_tree.GetSelectedItem();
    if (selected && ItemString(selected))
        ReplaceItemString(selected, m_strEntry);
}

HTREEITEM CURLPage::TopItem() const {
    return m_tree.GetRootItem();
}

HTREEITEM CURLPage::InsertTextEntry(HTREEITEM parent, HTREEITEM after, const char* title,
                                    const char* text) {
    char* copy = CopyItemString(text);
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = const_cast<char*>(title);
    insert.item.iImage = 0;
    insert.item.iSelectedImage = 0;
    insert.item.lParam = reinterpret_cast<LPARAM>(copy);
    HTREEITEM item = m_tree.InsertItem(&insert);
    if (!item)
        delete[] copy;
    return item;
}

HTREEITEM CURLPage::InsertSubmenu(HTREEITEM parent, HTREEITEM after, const char* title) {
    return m_tree.InsertItem(title, 1, 1, parent, after);
}

const char* CURLPage::ItemString(HTREEITEM item) const {
    return reinterpret_cast<const char*>(m_tree.GetItemData(item));
}

void CURLPage::MarkChanged() {
    SetModified(TRUE);
}

void CURLPage::ReplaceItemString(HTREEITEM item, const std::string& text) {
    char* old = const_cast<char*>(ItemString(item));
    char* copy = CopyItemString(text.c_str());
    if (!m_tree.SetItemData(item, reinterpret_cast<DWORD_PTR>(copy))) {
        delete[] copy;
        return;
    }
    delete[] old;
}

HTREEITEM CURLPage::InsertCopyOf(HTREEITEM source, HTREEITEM parent, HTREEITEM after) {
    int image = 0, selectedImage = 0;
    if (!m_tree.GetItemImage(source, image, selectedImage))
        return nullptr; // no such item: there is nothing to copy
    std::string title = m_tree.GetItemText(source);
    const char* text = ItemString(source);
    char* copy = text ? CopyItemString(text) : nullptr;
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = &title[0];
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    insert.item.lParam = reinterpret_cast<LPARAM>(copy);
    HTREEITEM item = m_tree.InsertItem(&insert);
    if (!item)
        delete[] copy;
    return item;
}

void CURLPage::CommitPendingEdit(HTREEITEM selected) {
    if (!m_bEntryChanged || !ItemString(selected))
        return;
    UpdateData(TRUE);
    ReplaceItemString(selected, m_strEntry);
    m_bEntryChanged = FALSE;
}

bool CURLPage::IsInSubtree(HTREEITEM item, HTREEITEM subtreeRoot) const {
    for (HTREEITEM walk = item; walk; walk = m_tree.GetParentItem(walk)) {
        if (walk == subtreeRoot)
            return true;
    }
    return false;
}
