// Finding an item directly under the tree's top item by its title.
#pragma once
#include "framework/tree_ctrl.h"

// The first child of top whose title equals title byte for byte (letter case
// counts), or null. Only the top item's own children are compared.
HTREEITEM FindTopLevelEntry(const CTreeCtrl& tree, const char* title, HTREEITEM top);
