// The "文字列を挿入" popup built from the menu store.
#pragma once
#include <windows.h>

// Creates TextMenu afresh and refills EntryTexts from the store's current
// snapshot (menu_cache.h); a store that cannot be reached gives a single
// grayed "無し" item. When memory runs out
// the popup keeps what was built so far.
void BuildTextMenu(void);
