// Watches the program's array deletions, so that a test can tell whether the
// strings held by tree items were released. Replaces operator delete[] for
// this test program (the editor's classes are linked in statically).
#pragma once

// Forgets what was freed so far and starts recording.
void StartWatchingFrees();
// Whether the block at this address was freed since the watch started.
bool WasFreed(const void* block);
