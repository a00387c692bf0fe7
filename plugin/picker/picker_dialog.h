// The picker: a small modal dialog over the compose window, an edit box
// above the list of the menu's text entries, filtered as the user types.
#pragma once
#include <windows.h>

#include "plugin/host/host_api.h"
#include "plugin/menu/menu_snapshot.h"

// Shows the picker over the compose window for the first textCount text
// entries of snapshot. True, with the chosen entry's data value, when the
// user chose one; false when the picker was closed without a choice or
// could not be shown.
bool RunPicker(ComposeWindowRef window, const MenuSnapshot* snapshot, DWORD textCount, DWORD* data);
