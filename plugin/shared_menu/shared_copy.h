// The shared menu's local copy and its state, in the user's local application
// data: "Ostrel\Tevrix\shared-menu.json", the last copy read whole, byte for
// byte, and "shared-menu-state.ini", what the last check found. Written by the
// reader thread alone; the settings editor reads both to say what happened.
#pragma once
#include <windows.h>

#include "http_source.h"
#include "shared_menu_parse.h"

// Times in the state are UTC, "yyyy-mm-dd hh:mm:ss".
const int kStateTimeChars = 20;

struct SharedState {
    WCHAR source[MAX_PATH * 4]; // the setting the copy and the state belong to
    WCHAR copyRead[kStateTimeChars];
    DWORD entries;
    WCHAR lastCheck[kStateTimeChars];
    SharedProblem problem;
    WCHAR problemSince[kStateTimeChars];
    DWORD httpStatus;          // addresses: the last status, 0 when none
    HttpValidators validators; // addresses: those of the copy
};

// The state kept for source, or a fresh one (no copy, no problem) when the
// state file belongs to another source or there is none.
void ReadSharedState(const WCHAR* source, SharedState* state);

// Writes every key of the state.
void WriteSharedState(const SharedState* state);

// Replaces the local copy with bytes: a temporary file beside it, then one
// replace, so that no reader finds half a copy. False when it failed.
bool WriteSharedCopy(const char* bytes, size_t size);

// The local copy's bytes in a heap buffer the caller frees; null when there
// is none (or it is over the limit).
char* ReadSharedCopy(size_t* size);

// Now, as the state writes times.
void StateTimeNow(WCHAR* time);
