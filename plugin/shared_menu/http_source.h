// A shared menu at an address: https://, or http:// to this computer alone
// (127.0.0.1, localhost). Fetched through the system's HTTP stack (WinHTTP,
// loaded from the system folder by its full path) with the system's
// certificate checks, timeouts, a conditional GET and at most 64 MB.
#pragma once
#include <stddef.h>
#include <windows.h>

#include "shared_menu_parse.h"

struct HttpValidators {
    WCHAR etag[256];        // the last whole copy's ETag, or ""
    WCHAR lastModified[64]; // its Last-Modified, or ""
};

// True for an address (https:// or http://), which this reads; else a path.
bool IsSharedAddress(const WCHAR* source);

// Fetches address. kSharedFine with *bytes (a heap buffer the caller frees)
// for a new body; kSharedFine with *bytes null when the server said it is
// unchanged (304); otherwise why not. *status is the HTTP status (0 when none
// came). On a new body, validators holds the new ones.
SharedProblem FetchSharedAddress(const WCHAR* address, HttpValidators* validators, char** bytes,
                                 size_t* size, DWORD* status);

// Unloads the system's HTTP stack (the reader ends).
void EndSharedAddresses(void);
