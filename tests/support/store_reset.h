// Isolation of tests that use the menu store.
#pragma once
#include <windows.h>

// Deletes HKCU\Software\Ostrel with everything beneath it.
void ResetStore();
