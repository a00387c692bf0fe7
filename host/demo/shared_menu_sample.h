// The demo's shared menu: a support desk's texts in a file beside the host,
// named as the shared menu in the store, and the plug-in's local copy and
// state as its worker leaves them after reading that file.
#pragma once
#include <windows.h>

// FALSE when a file or the store value could not be written.
BOOL WriteSharedMenuSample(void);
