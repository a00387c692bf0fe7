// The store as the popups show it: the last whole read of the menu, made by
// the plug-in's reader thread (plugin/reader/) and kept between builds. A
// build takes the reader's newest read; it waits for the reader only when the
// store changed and the read that shows the change has not ended.
#pragma once
#include <windows.h>

#include "menu_snapshot.h"

// The store's switches, read with the menu and kept with it: a read that is
// not used (disturbed by a save) changes none of them.
struct StoreSwitches {
    bool usesAddressBook;  // "UseAddress"
    bool usesPicker;       // "UsePicker"
    bool usesVariables;    // "UseVariables"
    char sharedTitle[256]; // "SharedMenuTitle"; "" for the usual title
    char sharedSource[MAX_PATH * 4]; // "SharedMenu"; "" when there is none
};

// The menu to build the popup from (the host's thread): the kept snapshot
// while the store is unchanged, else the reader's fresh whole read (or, when a
// save keeps disturbing the reads, the last whole one). Null when the store or
// its menu cannot be had. Valid until the next call or FreeMenuCache.
const MenuSnapshot* CurrentMenuSnapshot(void);

// Where the team's shared menu begins in CurrentMenuSnapshot's entries: its
// submenu entry, after the user's own entries (the snapshot's count when
// there is no shared menu).
DWORD SharedMenuStart(void);

// Starts the reader and its first read (QPCStartUp), so that the first menu
// finds the store read.
void StartReadingStore(void);

// The store's "UseAddress" switch, as read with the last snapshot.
bool StoreUsesAddressBook(void);

// The store's "UsePicker" switch (absent is off), as read with the last
// snapshot.
bool StoreUsesPicker(void);

// The store's "UseVariables" switch (absent is off), as read with the last
// snapshot.
bool StoreUsesVariables(void);

// Releases the snapshots and ends the change notification; only once the
// reader has ended (or never ran).
void FreeMenuCache(void);

// The guard between the reader and the builds, made at load and deleted at
// unload.
void InitializeMenuCache(void);
void DeleteMenuCache(void);

// For the reader thread. True when a build asked for a read, or the store's
// notification fired, and no read has answered it yet.
bool StoreReadWanted(void);
// Reads the store (a second time when a save disturbed the first) and hands
// the result to the next build. onReader: on the reader thread (or where
// there is none), which then takes the shared menu's setting at once;
// otherwise the reader takes it at its next turn (TakeSharedSetting).
void ReadStoreForBuilds(bool onReader);
// The reader: takes the shared menu's setting read by a build's own read.
void TakeSharedSetting(void);
// The reader is checking the shared source (true) or done with it: a build
// that needs the store meanwhile reads it itself.
void NoteReaderAtSource(bool atSource);
// The notification's event while one is armed (else null), to wait on.
HANDLE StoreChangeEvent(void);

// The reader's newest shared menu (moved out of menu), or none (null), read
// from source (the "SharedMenu" setting it belongs to).
void HandSharedMenu(MenuSnapshot* menu, const char* source);
