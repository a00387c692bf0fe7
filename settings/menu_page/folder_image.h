// The menu trees' rule for a submenu's image: an open submenu shows the open
// folder, a closed one the closed folder. Both the page メニュー and the
// read-only tree of the page 共有メニュー follow it.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include "framework/tree_ctrl.h"

// Swaps the folder's image of the submenu that TVN_ITEMEXPANDING names.
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
