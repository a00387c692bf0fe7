// Binding of the host's exported functions, done while the plug-in is loaded.
#pragma once
#include <windows.h>

// Resolves all host functions from "Quorvan.exe" in table order. TRUE when the
// host is bound (also when it already was); FALSE when the host module or any
// one name is missing, and then nothing stays bound.
BOOL BindHost(void);

// Releases the host module; the text lists and popups are left alone.
void UnbindHost(void);
