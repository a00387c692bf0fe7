// Where the picker opens: over the middle of the compose window, and whole on
// the work area of that window's monitor.
#pragma once
#include <windows.h>

// The top-left corner of a width by height window centred over `over` and
// then moved, as little as it takes, into `work` on every side. A window
// larger than the work area keeps its top-left corner (the caption and the
// query box) in it.
POINT PlacePickerInWorkArea(const RECT* over, int width, int height, const RECT* work);

// Moves the picker dialog over its owner, on the owner's monitor (the nearest
// one when the owner is off every screen); without a visible owner, into the
// middle of the primary monitor's work area.
void PlacePickerOverOwner(HWND dialog, HWND owner);
