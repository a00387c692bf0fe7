// A sample menu for the demo, written the way the settings editor writes the
// store, but only into a store that holds no menu yet; it also switches the
// address-book popup on.
#pragma once
#include <windows.h>

// TRUE when the sample was written.
BOOL WriteSampleStoreIfEmpty(void);
