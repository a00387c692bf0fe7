// The settings launcher (QPCSetup).
#pragma once

// Drops the reference on the plug-in that QPCSetup keeps while its sheet runs.
// Every entry point calls it first: a call from the host shows that the host
// still holds the plug-in, so this reference cannot be the last.
void ReleasePluginHeldBySetup(void);
