// Turns a folder of Internet Shortcut files into items of the menu tree.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

class CURLPage;

// Appends the folder's content under parent, in the order the file system
// lists it: each ".url" file becomes a text entry (title: the name without
// ".url"; text: the shortcut's address), each subfolder (and each file with
// the system attribute) a submenu filled the same way. Entries whose full
// path would not fit in MAX_PATH characters are left out. Linked folders
// (junctions, symbolic links) are read like the others, each link target once
// per scan; a link back to a folder the scan is inside of, a second link to a
// folder already read through a link, and folders nested too deep stay empty
// submenus. False when the tree refused an item: the scan stops there, and
// what it had inserted stays for the caller to remove.
bool ScanFavoritesFolder(CURLPage& page, const std::string& folder, HTREEITEM parent);

// How many folder levels below the chosen one are still read.
constexpr int kMaxFavoritesDepth = 32;
