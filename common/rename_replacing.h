// Puts a fully written temporary file in place of another in one rename, so
// that a reader finds the old file or the new one, never part of either.
// While anyone holds the target open (a team member's plug-in reading the
// shared menu, the editor showing the plug-in's local copy) the system
// refuses the rename, even when every opener allows deletion: it is tried
// again until waitMs have passed. On failure the temporary file stays for the
// caller to delete. Header only, so that each DLL imports only the variant it
// uses.
#pragma once
#include <windows.h>

namespace rename_replacing {

// What a target held open by someone answers; anything else (no folder, no
// disk) will not change by waiting.
inline bool HeldOpen(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
           error == ERROR_LOCK_VIOLATION;
}

template <typename Char, typename Move>
bool Retrying(const Char* temporary, const Char* target, DWORD waitMs, Move move) {
    const DWORD kRetryMs = 50;
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    ULONGLONG started = GetTickCount64();
    for (;;) {
        if (move(temporary, target, flags))
            return true;
        DWORD error = GetLastError();
        if (!HeldOpen(error) || GetTickCount64() - started >= waitMs) {
            SetLastError(error);
            return false;
        }
        Sleep(kRetryMs);
    }
}

} // namespace rename_replacing

inline bool RenameReplacingA(const char* temporary, const char* target, DWORD waitMs) {
    return rename_replacing::Retrying(temporary, target, waitMs, MoveFileExA);
}

inline bool RenameReplacingW(const WCHAR* temporary, const WCHAR* target, DWORD waitMs) {
    return rename_replacing::Retrying(temporary, target, waitMs, MoveFileExW);
}
