// The user's menu read from the store in one go, before any menu is built
// (menu_cache.h decides when and keeps the last whole one). Entries are kept
// depth first, each level in the store's order, so a submenu's entries follow
// it directly.
#pragma once
#include <windows.h>

struct SnapshotEntry {
    char* title;
    char* text;  // null for a submenu
    DWORD depth; // 0 at the top level; a submenu's entries have its depth + 1
};

struct MenuSnapshot {
    SnapshotEntry* entries;
    DWORD count;
    DWORD capacity;
    // Memory ran out: the entries are the menu's beginning, depth first.
    bool truncated;
};

// Reads the menu below menuKey into an empty snapshot. *disturbed is set when
// a listing ended on an error, or a listed key could not be opened or was
// deleted while it was read: what a save that renames and deletes the keys
// under a reader without the lock causes (and, alone, a key whose name has no
// ANSI form).
void ReadMenuSnapshot(HKEY menuKey, MenuSnapshot* snapshot, bool* disturbed);

// Copies from, strings and all, into an empty snapshot; false, with copy left
// empty, when memory ran out.
bool CopyMenuSnapshot(const MenuSnapshot* from, MenuSnapshot* copy);

// The text of the text entry numbered data (text entries are numbered depth
// first from 0, as the popup numbers them); null when there is none.
const char* SnapshotTextAt(const MenuSnapshot* snapshot, DWORD data);

// Releases every string and the array; the snapshot becomes empty.
void FreeMenuSnapshot(MenuSnapshot* snapshot);
