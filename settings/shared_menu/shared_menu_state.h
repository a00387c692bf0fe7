// What the plug-in last made of the shared menu, as it leaves it in the
// user's local application data folder (Ostrel\Tevrix): the local copy
// "shared-menu.json" and the state "shared-menu-state.ini". The editor only
// reads them.
#pragma once
#include "settings/backup/menu_backup.h"

#include <string>

struct SharedMenuState {
    bool present = false; // the state file exists
    std::wstring source;  // the setting the copy and the state belong to
    std::string copyRead; // UTC "yyyy-mm-dd hh:mm:ss"; empty without a copy
    long entries = 0;
    std::string lastCheck;
    std::string problem; // "none", "unreachable", ... (see ProblemInWords)
    std::string problemSince;
    int httpStatus = 0;
};

// The folder with a trailing backslash; empty when the system names none.
std::wstring SharedMenuFolder();
SharedMenuState ReadSharedMenuState(const std::wstring& folder);

// Whether the state and copy belong to this setting (as the store holds it).
bool StateBelongsTo(const SharedMenuState& state, const std::string& setting);

// The state as the page shows it, in up to three lines: when the source was
// last asked, or why no new copy came and since when; then which copy is shown.
std::string StateInWords(const SharedMenuState& state, const std::string& setting);

// The local copy, read whole and checked as an import is; anything but kNone
// leaves backup empty.
BackupError LoadSharedMenuCopy(const std::wstring& folder, LoadedBackup& backup);
