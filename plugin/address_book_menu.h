// Reading one address-book file into a menu: its entries, groups (as
// submenus) and separators, with column breaks where a menu would outgrow the
// screen.
#pragma once
#include <windows.h>

#include "book_reader.h"

// Groups open deeper than this drop the rest of their file. The reading
// recurses once per open group, and the system refuses to nest menus much
// deeper (25 levels on Windows XP, counting the host's menu and the address
// popup above the groups), so a deeper group could not be shown anyway.
const int kMaxAddressGroupDepth = 20;

// Opens the book at path (read only, shared with nobody) and appends its top
// level to menu. Entries take their indexes from counter, which runs on. A
// book that cannot be opened contributes nothing.
void BuildAddressFileMenu(HMENU menu, const char* path, DWORD& counter);

// Reads the lines after a group's opening line into popup, up to the matching
// end of the group or of the file, and returns popup. depth counts the groups
// open with this one.
HMENU BuildAddressGroup(HMENU popup, BookReader* file, DWORD& counter, int depth);
