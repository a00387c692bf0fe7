// Fills a submenu of the menu tree with the links of an HTML file.
#pragma once
#include <windows.h>
#include <commctrl.h>

class CURLPage;

// Appends one text entry per link of the file under parent, in file order:
// title the link's text, text its address. False when the file cannot be
// opened; true otherwise, also when it holds no link.
BOOL ImportHtmlLinks(CURLPage& page, const char* path, HTREEITEM parent);
