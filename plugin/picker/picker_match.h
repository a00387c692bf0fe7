// Matching what the user types in the picker against the menu's text
// entries. Titles, texts and submenu names are folded once, when the picker
// opens, so that a keystroke only compares folded strings: letters of either
// case and width, hiragana and katakana, and half-width and full-width kana
// all compare equal.
#pragma once
#include <windows.h>

#include "plugin/menu/menu_snapshot.h"

// "No submenu holds this entry": it is at the top level.
const DWORD kPickerTopLevel = 0xFFFFFFFF;

struct PickerIndex {
    const MenuSnapshot* snapshot;
    // Snapshot index of every text entry the picker lists, in menu order; the
    // position of an entry here is its data value.
    DWORD* entries;
    DWORD count;
    // Per snapshot entry: the snapshot index of the submenu holding it.
    DWORD* parents;
    // Per snapshot entry: its folded title and (text entries only) text,
    // pointing into one block.
    WCHAR** foldedTitles;
    WCHAR** foldedTexts;
    WCHAR* foldedBlock;
    // Room for one filter's second-rank results.
    DWORD* scratch;
};

// Folds length characters of text (length -1: up to its NUL) into out, which
// holds capacity characters, and ends it with a NUL. The folded length, or -1
// when it does not fit.
int FoldForMatch(const WCHAR* text, int length, WCHAR* out, int capacity);

// Builds the index of the first textCount text entries of snapshot (those
// with a data value). False when memory ran out; the index is then empty.
bool BuildPickerIndex(const MenuSnapshot* snapshot, DWORD textCount, PickerIndex* index);
void FreePickerIndex(PickerIndex* index);

// The entries matching query, as positions in index->entries, written to
// order (room for index->count): those whose title holds every word first,
// then those that match through their text or submenus, each group in menu
// order. Words are separated by blanks; an empty query lists every entry, and
// words after the 32nd are ignored.
// Returns how many matched.
DWORD FilterPickerEntries(const PickerIndex* index, const WCHAR* query, DWORD* order);
