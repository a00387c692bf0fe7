// The team's shared menu, as the reader thread keeps it: where it comes from
// (the store's "SharedMenu"), when it is checked, and what the builds get.
// Runs on the reader thread only (or, when no thread could be had, on the
// host's, which then reads everything itself).
#pragma once
#include <windows.h>

// The store's setting, after every store read. A new source shows its local
// copy at once (when the copy belongs to it) and is checked at once; an empty
// one takes the shared menu away.
void NoteSharedSetting(const char* setting);

// The store changed (a save of the settings, say): the source is checked at
// the next chance, not at its time.
void CheckSharedSoon(void);

// True when a check is due; otherwise *waitMs is the time until the next one
// (INFINITE when there is no source).
bool SharedCheckDue(DWORD* waitMs);

// Checks the source: asks its stamp and reads it when it changed, whole or
// not at all; hands a new menu to the builds, keeps the local copy and writes
// the state. Gives up at stop.
void CheckSharedSource(HANDLE stop);

// Forgets the source (the reader ends).
void EndSharedSource(void);
