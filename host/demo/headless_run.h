// The demo without a person at the screen: builds the compose window's menu,
// prints what the plug-in appended, photographs the open popup, chooses one
// entry through the host's command path and prints the editor's text.
#pragma once
#include <windows.h>

// Returns the process exit code: 0 when every step worked.
int RunHeadless(HWND mainWindow, HWND compose);
