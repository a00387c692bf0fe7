// The demo's mail-compose window: a menu bar and a multiline edit control as
// its editor. Its "ツール" menu is built afresh each time the menu bar is
// entered, and the plug-in appends its popups to it.
#pragma once
#include <windows.h>

// Position of the "ツール" popup in the compose window's menu bar.
const int ComposeToolsPosition = 2;
// Number of the host's own items in a fresh "ツール" menu.
int ComposeHostToolItems(void);

HWND CreateComposeWindow(HWND owner);
// The compose window's editor.
HWND ComposeEditor(HWND compose);
