// Filling a dialog's controls from string resources.
#pragma once
#include <windows.h>

// The size of the buffer a string resource is loaded into: a longer string is
// cut to one byte less.
#define RESOURCE_TEXT_BUFFER 128

// Loads string stringId of module into a RESOURCE_TEXT_BUFFER-byte buffer and
// makes it the text of control controlId of dialog. A control that the dialog
// does not have is skipped.
void SetItemTextFromResource(HWND dialog, int controlId, HINSTANCE module, UINT stringId);
