// The "文字列を挿入" popup built from the menu store.
#pragma once
#include <windows.h>

// Creates TextMenu afresh and refills EntryTexts from the store; a store that
// cannot be reached gives a single grayed "無し" item.
void BuildTextMenu(void);

// Builds the popup of one submenu entry key. Text entries take their data
// values from *dataCounter, which runs on across submenus. Sets *stopped when
// memory ran out, so that the whole build ends with what it has.
HMENU BuildStoreSubmenu(HKEY entryKey, DWORD* dataCounter, bool* stopped);
