#include "framework/tree_ctrl.h"

#include <memory>

HTREEITEM CTreeCtrl::InsertItem(const char* text, int image, int selectedImage, HTREEITEM parent,
                                HTREEITEM after) const {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<char*>(text);
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    return InsertItem(&insert);
}

HTREEITEM CTreeCtrl::InsertItem(TVINSERTSTRUCTA* insert) const {
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageA(m_hWnd, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(insert)));
}

BOOL CTreeCtrl::GetItem(TVITEMA* item) const {
    return static_cast<BOOL>(
        ::SendMessageA(m_hWnd, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(item)));
}

BOOL CTreeCtrl::SetItem(TVITEMA* item) const {
    return static_cast<BOOL>(
        ::SendMessageA(m_hWnd, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(item)));
}

std::string CTreeCtrl::GetItemText(HTREEITEM item) const {
    // The tree tells no length: grow the buffer until the title fits with room to spare.
    std::string text(256, '\0');
    for (;;) {
        TVITEMA query{};
        query.mask = TVIF_TEXT;
        query.hItem = item;
        query.pszText = &text[0];
        query.cchTextMax = static_cast<int>(text.size());
        text[0] = '\0';
        if (!GetItem(&query))
            return std::string();
        size_t length = lstrlenA(query.pszText);
        if (query.pszText != &text[0]) // the tree may point at its own copy
            return std::string(query.pszText, length);
        if (length + 2 < text.size()) {
            text.resize(length);
            return text;
        }
        text.resize(text.size() * 2);
    }
}

BOOL CTreeCtrl::SetItemText(HTREEITEM item, const char* text) const {
    TVITEMA change{};
    change.mask = TVIF_TEXT;
    change.hItem = item;
    change.pszText = const_cast<char*>(text);
    return SetItem(&change);
}

BOOL CTreeCtrl::GetItemImage(HTREEITEM item, int& image, int& selectedImage) const {
    TVITEMA query{};
    query.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    query.hItem = item;
    if (!GetItem(&query))
        return FALSE;
    image = query.iImage;
    selectedImage = query.iSelectedImage;
    return TRUE;
}

BOOL CTreeCtrl::SetItemImage(HTREEITEM item, int image, int selectedImage) const {
    TVITEMA change{};
    change.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    change.hItem = item;
    change.iImage = image;
    change.iSelectedImage = selectedImage;
    return SetItem(&change);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM item) const {
    TVITEMA query{};
    query.mask = TVIF_PARAM;
    query.hItem = item;
    if (!GetItem(&query))
        return 0;
    return static_cast<DWORD_PTR>(query.lParam);
}

BOOL CTreeCtrl::SetItemData(HTREEITEM item, DWORD_PTR data) const {
    TVITEMA change{};
    change.mask = TVIF_PARAM;
    change.hItem = item;
    change.lParam = static_cast<LPARAM>(data);
    return SetItem(&change);
}

BOOL CTreeCtrl::ItemHasChildren(HTREEITEM item) const {
    TVITEMA query{};
    query.mask = TVIF_CHILDREN;
    query.hItem = item;
    if (!GetItem(&query))
        return FALSE;
    return query.cChildren != 0;
}

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM item, UINT code) const {
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageA(m_hWnd, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}

BOOL CTreeCtrl::DeleteItem(HTREEITEM item) const {
    return static_cast<BOOL>(
        ::SendMessageA(m_hWnd, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)));
}

BOOL CTreeCtrl::Expand(HTREEITEM item, UINT code) const {
    return static_cast<BOOL>(
        ::SendMessageA(m_hWnd, TVM_EXPAND, code, reinterpret_cast<LPARAM>(item)));
}

BOOL CTreeCtrl::Select(HTREEITEM item, UINT code) const {
    return static_cast<BOOL>(
        ::SendMessageA(m_hWnd, TVM_SELECTITEM, code, reinterpret_cast<LPARAM>(item)));
}

HWND CTreeCtrl::EditLabel(HTREEITEM item) const {
    return reinterpret_cast<HWND>(
        ::SendMessageA(m_hWnd, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(item)));
}

HIMAGELIST CTreeCtrl::SetImageList(CImageList* list, int imageType) const {
    return reinterpret_cast<HIMAGELIST>(
        ::SendMessageA(m_hWnd, TVM_SETIMAGELIST, static_cast<WPARAM>(imageType),
                       reinterpret_cast<LPARAM>(list ? list->GetSafeHandle() : nullptr)));
}

HTREEITEM CTreeCtrl::HitTest(POINT point, UINT* flags) const {
    TVHITTESTINFO test{};
    test.pt = point;
    auto* item = reinterpret_cast<HTREEITEM>(
        ::SendMessageA(m_hWnd, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&test)));
    if (flags)
        *flags = test.flags;
    return item;
}

CImageList* CTreeCtrl::CreateDragImage(HTREEITEM item) const {
    // The object first: when it cannot be allocated, no image list is left over.
    auto image = std::make_unique<CImageList>();
    auto list = reinterpret_cast<HIMAGELIST>(
        ::SendMessageA(m_hWnd, TVM_CREATEDRAGIMAGE, 0, reinterpret_cast<LPARAM>(item)));
    if (!list)
        return nullptr;
    image->Attach(list);
    return image.release();
}
