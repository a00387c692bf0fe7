// The store as the popups show it: the last whole read of the menu, kept
// between builds and read again only when the store changed since.
#pragma once
#include <windows.h>

#include "menu_snapshot.h"

// The menu to build the popup from: the kept snapshot while the store is
// unchanged, else a fresh whole read (or, when a save keeps disturbing the
// read, the last whole one). Null when the store or its menu cannot be had.
// Valid until the next call or FreeMenuCache.
const MenuSnapshot* CurrentMenuSnapshot(void);

// The store's "UseAddress" switch, as read with the last snapshot.
bool StoreUsesAddressBook(void);

// The store's "UsePicker" switch (absent is off), as read with the last
// snapshot.
bool StoreUsesPicker(void);

// The store's "UseVariables" switch (absent is off), as read with the last
// snapshot.
bool StoreUsesVariables(void);

// Releases the snapshot and ends the change notification.
void FreeMenuCache(void);
