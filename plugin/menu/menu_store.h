// Reading the menu store: HKEY_CURRENT_USER\Software\Ostrel\Tevrix. The
// plug-in only reads it; the settings editor writes it.
#pragma once
#include <windows.h>

// Opens the store's root for reading and writing, creating "Ostrel" and
// "Tevrix" where they are missing. Null when there is no store. The caller
// closes the handle.
HKEY OpenStore(void);

// Opens, for reading, the key that holds the whole menu: "URL", or the old
// menu while a save in another process is between its two renames. With
// mayCreate (the caller holds the store's lock), a store that was never saved
// gets an empty "URL". Null when no menu key can be had.
HKEY OpenMenuKey(HKEY root, bool mayCreate);

// Takes the store's lock, which keeps saves of other processes from renaming
// or deleting the menu while it is read. Null when it could not be had in
// time; the read then goes on without it.
HANDLE LockStore(void);
void UnlockStore(HANDLE lock);

// A string value as exactly its stored bytes, cut at the first NUL, in a fresh
// heap buffer the caller frees. A missing or unreadable value reads as "";
// null only when memory ran out. *keyGone (when given) is set when the key
// itself was deleted under its handle.
char* ReadStoreString(HKEY key, const char* name, bool* keyGone = nullptr);

// A 32-bit number value; missing or unreadable reads as 0.
DWORD ReadStoreNumber(HKEY key, const char* name, bool* keyGone = nullptr);
