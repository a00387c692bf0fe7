// Reads the menu page's tree as the test sees it: titles, kinds and the texts
// that the page keeps as item data (the page lives in this process).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

// The tree control of the sheet's menu page.
HWND MenuTree(HWND sheet);
HTREEITEM TopItem(HWND tree);

// The children of parent in order, as "title=text" for a text entry and
// "title{...}" for a submenu, separated by "|". Of the top item by default.
std::string DescribeMenu(HWND tree, HTREEITEM parent = nullptr);

// The item reached from the top item through these titles, or null.
HTREEITEM FindMenuItem(HWND tree, const std::vector<std::string>& titles);

// True when every item below parent shows the image of its kind: 0 for a
// text entry, 1 or 2 for a submenu (the selected image always equal).
bool ImagesMatchKinds(HWND tree, HTREEITEM parent);

// Selects an item as a click would.
void SelectMenuItem(HWND tree, HTREEITEM item);
