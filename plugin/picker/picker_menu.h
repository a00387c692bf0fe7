// The "検索して挿入..." item that opens the picker, first in "文字列を挿入"
// when the store's "UsePicker" is nonzero, and the snapshot the picker lists.
#pragma once
#include <windows.h>

#include "plugin/menu/menu_snapshot.h"

// The height the picker item and its separator take at the top of the popup,
// so that the entries' columns still fit the screen below them.
int PickerItemsHeight(void);

// Puts the picker item and a separator before the popup's entries. Called
// after the entries are in, so that their command ids are those of a build
// without the picker.
void AddPickerItems(HMENU popup);

// The snapshot the popup was built from, which the picker lists: the menu
// cache's, valid until the next build or the plug-in's clean-up, which hand
// over the next one (null while no picker item is shown).
void ShowSnapshotInPicker(const MenuSnapshot* snapshot);
