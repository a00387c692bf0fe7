// Destroying menus the plug-in created.
#pragma once
#include <windows.h>

// Destroys menu and every submenu below it, deepest first.
void DestroyMenuTree(HMENU menu);
