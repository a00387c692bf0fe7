// The name-clash question of the imports that add a submenu at the end of the
// top level: no two top-level items are to share a title unless the user
// lets the new one replace the old.
#pragma once
#include "framework/tree_ctrl.h"
#include "settings/imports/favorites/favorites_title_dialog.h"

#include <string>

// While a child of top is titled title: tells the user "<title> はすでに存在します"
// in a box owned by owner, then asks in dialog for another title or for leave
// to overwrite. False when the user cancelled. Otherwise title is free, or
// replaced is the item that the user agreed to overwrite (null when none).
bool ChooseTopLevelTitle(const CTreeCtrl& tree, HTREEITEM top, HWND owner,
                         FavoritesTitleDialog& dialog, std::string& title, HTREEITEM& replaced);
