// Fills a submenu of the menu tree with the links of an HTML file.
#pragma once
#include <windows.h>
#include <commctrl.h>

class CURLPage;

enum class HtmlImportResult {
    kImported,     // every link of the file is in, also when it holds none
    kCannotOpen,   // the file could not be opened: nothing was inserted
    kCannotInsert, // the tree refused an entry: the import stopped there
};

// Appends one text entry per link of the file under parent, in file order:
// title the link's text, text its address. After kCannotInsert the entries
// made before stay under parent, for the caller to remove with it.
HtmlImportResult ImportHtmlLinks(CURLPage& page, const char* path, HTREEITEM parent);
