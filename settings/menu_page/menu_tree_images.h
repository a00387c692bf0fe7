// The menu trees' pictures: image 0 a text entry, 1 a closed submenu, 2 an
// open one. Both the page メニュー and the read-only tree of the page
// 共有メニュー show them, and follow one rule for a submenu's folder.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include "framework/app.h"
#include "framework/image_list.h"
#include "framework/tree_ctrl.h"
#include "settings/resources/resource.h"

// Makes the pictures and gives them to the tree.
inline void SetMenuTreeImages(CImageList& images, CTreeCtrl& tree) {
    const int kImageWidth = 20;
    const int kImageHeight = 18;
    const COLORREF kTransparent = RGB(255, 255, 255);
    const UINT kItemBitmaps[] = {IDB_TEXT_ENTRY, IDB_FOLDER_CLOSED, IDB_FOLDER_OPEN};
    images.Create(kImageWidth, kImageHeight, ILC_COLOR4 | ILC_MASK, 3, 1);
    for (UINT id : kItemBitmaps) {
        HBITMAP bitmap = ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id));
        images.Add(bitmap, kTransparent);
        ::DeleteObject(bitmap);
    }
    tree.SetImageList(&images, TVSIL_NORMAL);
}

// Swaps the folder's image of the submenu that TVN_ITEMEXPANDING names: an
// open submenu shows the open folder, a closed one the closed folder.
inline void ShowFolderOpenOrClosed(CTreeCtrl& tree, const NMTREEVIEWA* expand) {
    HTREEITEM item = expand->itemNew.hItem;
    int image = 0, selectedImage = 0;
    tree.GetItemImage(item, image, selectedImage);
    if (expand->action & TVE_EXPAND)
        image = image == 2 ? 1 : 2;
    else
        image = image == 1 ? 2 : 1;
    tree.SetItemImage(item, image, image);
}
