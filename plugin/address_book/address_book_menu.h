// Building the menu of one address book (address_book.h): its entries, groups
// (as submenus) and separators, with column breaks where a menu would outgrow
// the screen.
#pragma once
#include <windows.h>

#include "address_book.h"

// Groups open deeper than this drop the rest of their file. The reading
// recurses once per open group, and the system refuses to nest menus much
// deeper (25 levels on Windows XP, counting the host's menu and the address
// popup above the groups), so a deeper group could not be shown anyway.
const int kMaxAddressGroupDepth = 20;

// Appends the book's top level to menu, up to its end or a top-level "End
// group". Entries take their indexes from counter, which runs on.
void BuildAddressFileMenu(HMENU menu, const ParsedBook* book, DWORD& counter);
