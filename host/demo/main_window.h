// The demo's main window: opens compose windows and offers the plug-in's
// settings and version commands.
#pragma once
#include <windows.h>

HWND CreateMainWindow(void);
