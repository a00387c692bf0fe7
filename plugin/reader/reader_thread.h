// The plug-in's one reader thread: it reads the store at start-up and after
// every change notification, so that a compose window's menu is built from
// what was read and never waits for a walk of the store it did not have to.
// The host's thread starts it, wakes it and ends it; the thread holds its own
// reference on the plug-in, so a host that unloads the plug-in without
// QPCCleanUp leaves its code mapped until the thread has left.
#pragma once

// Starts the thread unless it runs (QPCStartUp, or the first menu build).
// False when no thread could be started: the caller then reads itself.
bool StartReader(void);

// Asks the thread to look at what the builds asked for.
void WakeReader(void);

// Ends the thread and waits for it (QPCCleanUp), up to a bound: a thread
// still reading after that ends by itself. True when it has ended (or never
// ran).
bool StopReader(void);

// At unload: the thread, which held the plug-in, has left its work (it is
// inside FreeLibraryAndExitThread, or gone); its handles are closed without
// waiting for it.
void ForgetReader(void);
