// Reading the menu store: HKEY_CURRENT_USER\Software\Ostrel\Tevrix. The
// plug-in only reads it; the settings editor writes it.
#pragma once
#include <windows.h>

// Opens the store's root for reading and writing, creating "Ostrel" and
// "Tevrix" where they are missing. Null when there is no store. The caller
// closes the handle.
HKEY OpenStore(void);

// Creates, or opens where it exists, the top-level menu key "URL" below the
// root, for reading. Null when it cannot be had.
HKEY OpenMenuKey(HKEY root);

// A string value as exactly its stored bytes, cut at the first NUL, in a fresh
// heap buffer the caller frees. A missing or unreadable value reads as "";
// null only when memory ran out.
char* ReadStoreString(HKEY key, const char* name);

// A 32-bit number value; missing or unreadable reads as 0.
DWORD ReadStoreNumber(HKEY key, const char* name);
