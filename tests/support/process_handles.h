// Counts this process's open kernel handles, so that a test can catch a leak
// the day it is written. GetProcessHandleCount cannot be used: Wine answers 0.
#pragma once

// The number of entries the system lists for this process in its handle
// table, or -1 when the system gives no such list.
int CountProcessHandles(void);
