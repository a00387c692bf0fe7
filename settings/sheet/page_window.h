// The sheet makes a page's window only when the page is first selected; a
// page that works on another page's tree has it made first.
#pragma once
#include <windows.h>

// Selects the page at index and then page again, so that the sheet has made
// the window of the page at index. page: a page of the sheet, now current.
void MakePageWindow(HWND page, int index);
