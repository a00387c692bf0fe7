// What the imports tell the user when the tree refused one of their items.
#pragma once
#include <windows.h>

// The one box of an import that failed as a whole because an item could not
// be inserted: the tree is as it was before the import.
void TellInsertFailed(HWND owner);
