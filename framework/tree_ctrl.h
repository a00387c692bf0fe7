// A tree-view control of a dialog, driven through its TVM_* messages.
#pragma once
#include "framework/image_list.h"
#include "framework/wnd.h"

#include <string>

class CTreeCtrl : public CWnd {
  public:
    // Inserts an item with title and images under parent, after the given item
    // (TVI_FIRST, TVI_LAST or a sibling). The new item, or null.
    HTREEITEM InsertItem(const char* text, int image, int selectedImage,
                         HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST) const;
    HTREEITEM InsertItem(TVINSERTSTRUCTA* insert) const;

    BOOL GetItem(TVITEMA* item) const;
    BOOL SetItem(TVITEMA* item) const;
    std::string GetItemText(HTREEITEM item) const;
    BOOL SetItemText(HTREEITEM item, const char* text) const;
    BOOL GetItemImage(HTREEITEM item, int& image, int& selectedImage) const;
    BOOL SetItemImage(HTREEITEM item, int image, int selectedImage) const;
    DWORD_PTR GetItemData(HTREEITEM item) const;
    BOOL SetItemData(HTREEITEM item, DWORD_PTR data) const;
    BOOL ItemHasChildren(HTREEITEM item) const;

    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const;
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    HTREEITEM GetDropHilightItem() const { return GetNextItem(nullptr, TVGN_DROPHILITE); }

    // Deletes the item with its subtree (TVI_ROOT: everything).
    BOOL DeleteItem(HTREEITEM item) const;
    BOOL DeleteAllItems() const { return DeleteItem(TVI_ROOT); }
    // code: TVE_EXPAND, TVE_COLLAPSE or TVE_TOGGLE.
    BOOL Expand(HTREEITEM item, UINT code) const;
    BOOL Select(HTREEITEM item, UINT code) const;
    BOOL SelectItem(HTREEITEM item) const { return Select(item, TVGN_CARET); }
    // Shows the item as the drop target; null removes the highlight.
    BOOL SelectDropTarget(HTREEITEM item) const { return Select(item, TVGN_DROPHILITE); }
    // Starts in-place editing of the title; the edit control, or null.
    HWND EditLabel(HTREEITEM item) const;

    // imageType: TVSIL_NORMAL or TVSIL_STATE. The list stays the caller's.
    HIMAGELIST SetImageList(CImageList* list, int imageType) const;
    // The item at a point of the tree's client area, and where on it (TVHT_*).
    HTREEITEM HitTest(POINT point, UINT* flags = nullptr) const;
    // A new image list holding the item's drag image, owned by the caller; null on failure.
    CImageList* CreateDragImage(HTREEITEM item) const;
};
