// The runtime linked into each DLL keeps, for a thread it did not start (the
// host's), a record holding a duplicate of the thread's handle and an event.
// The 32-bit build makes one while the DLL loads, when its start-up code
// registers the exception tables under the runtime's lock. The runtime lets
// go of the record only when that thread ends, and the host's thread outlives
// every unload: each load of a DLL would leave two handles in the host.
#pragma once
#include <windows.h>

// Called at an unload that is not the end of the process: the module's own
// TLS callbacks are told that the unloading thread leaves, as they would be
// at that thread's end.
void DetachThisThreadOnUnload(HMODULE module);
