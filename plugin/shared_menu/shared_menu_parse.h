// A team's shared menu file read into a snapshot: the backup file's format,
// read by the same reader and converted by the same rules as the editor's
// import. Runs on the reader thread only.
#pragma once
#include <stddef.h>

#include "plugin/menu/menu_snapshot.h"

// Why a shared menu was not taken (the state file's words, shared_copy.h).
enum SharedProblem {
    kSharedFine,
    kSharedUnreachable,
    kSharedNotFound,
    kSharedTimeout,
    kSharedInsecure,
    kSharedNotBackup,
    kSharedLaterVersion,
    kSharedTooLarge,
    kSharedIncomplete,
    kSharedBadMenu,
    kSharedHttpStatus,  // a status other than 200, 304, 404 or 410
    kSharedCertificate, // the server's certificate failed the system's checks
};

// The largest file taken, as the backup import takes it.
const size_t kSharedMenuMaxBytes = 64u * 1024 * 1024;

// Reads bytes into an empty snapshot (depth 0 for the file's top level, titles
// and texts in Shift-JIS, texts with CR LF line ends). Nothing but kSharedFine
// leaves entries in it. Never throws.
SharedProblem ParseSharedMenu(const char* bytes, size_t size, MenuSnapshot* menu);
