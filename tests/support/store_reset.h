// Isolation of tests that use the menu store.
#pragma once
#include <windows.h>

// Deletes HKCU\Software\Ostrel with everything beneath it, again while a
// running plug-in makes keys in it.
void ResetStore();
