// The picker "検索して挿入..." in the demo: switched on in the store as the
// settings page does, opened from the compose window's menu with a query
// typed into it, photographed, and closed without inserting.
#pragma once
#include <windows.h>

// Returns TRUE when the picker showed and its photograph was saved at path.
BOOL PhotographPicker(HWND compose, const char* query, const char* path);
