// The menu tree in one line, for comparing whole imports at once.
#pragma once
#include "menu_page_driver.h"
#include "menu_store_io.h"

#include <string>

// The item's children in order, "title=text" for a text entry and
// "title{...}" for a submenu, separated by "|".
std::string DescribeMenu(const ItemView& item);
// The top-level menu of the sheet's tree, described so.
std::string DescribeMenu(HWND sheet);
// Entries as a test writes them into the store, described so.
std::string DescribeMenu(const std::vector<StoreEntry>& entries);

// True when every item below item shows the image of its kind: 0 for a text
// entry, 1 or 2 for a submenu, the selected image always equal.
bool ImagesMatchKinds(const ItemView& item);
