// The user's menu read from the store in one go, before any menu is built:
// the store is read under its lock and the lock is let go before the host's
// callbacks are registered. Entries are kept depth first, each level in the
// store's order, so a submenu's entries follow it directly.
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

// Reads the menu below the store's root into an empty snapshot. False when
// there is a store but no menu key can be had.
bool ReadMenuSnapshot(HKEY root, MenuSnapshot* snapshot);

// Releases every string and the array; the snapshot becomes empty.
void FreeMenuSnapshot(MenuSnapshot* snapshot);
