// The one object of the plug-in built with exceptions: it links the editor's
// reader of the backup file (nlohmann's parser, std::string and std::vector,
// which report a lack of memory by throwing). Everything it calls runs inside
// the try below, on the reader thread, in frames of our own; nothing thrown
// leaves this function, so no exception meets a system frame or the host.
#include "shared_menu_parse.h"

#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "settings/backup/backup_text.h"
#include "settings/backup/menu_backup_format.h"

namespace {

char* HeapCopy(const std::string& text) {
    char* copy = static_cast<char*>(malloc(text.size() + 1));
    if (copy)
        memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

// A file of our format cut short (or caught while being written) is no JSON
// document, but it starts as one: told apart from a file of another kind.
bool LooksLikeOurFileCutShort(const char* bytes, size_t size) {
    const size_t kLookedAt = 4096;
    std::string start(bytes, size < kLookedAt ? size : kLookedAt);
    size_t first = start.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
    return first != std::string::npos && start[first] == '{' &&
           start.find(kBackupFormatName) != std::string::npos;
}

SharedProblem ProblemOf(BackupError error, const char* bytes, size_t size) {
    switch (error) {
    case BackupError::kNone:
        return kSharedFine;
    case BackupError::kTooLarge:
        return kSharedTooLarge;
    case BackupError::kNewerVersion:
        return kSharedLaterVersion;
    case BackupError::kBadMenu:
    case BackupError::kTooDeep:
        return kSharedBadMenu;
    case BackupError::kNotJson:
        return LooksLikeOurFileCutShort(bytes, size) ? kSharedIncomplete : kSharedNotBackup;
    case BackupError::kCannotRead:
    case BackupError::kInvalidUtf8:
    case BackupError::kOtherFormat:
        break;
    }
    return kSharedNotBackup;
}

SharedProblem Convert(const std::vector<BackupEntry>& entries, MenuSnapshot* menu) {
    if (entries.empty())
        return kSharedFine;
    menu->entries = static_cast<SnapshotEntry*>(calloc(entries.size(), sizeof(SnapshotEntry)));
    if (!menu->entries)
        return kSharedIncomplete;
    menu->capacity = static_cast<DWORD>(entries.size());
    for (const BackupEntry& entry : entries) {
        int replaced = 0;
        SnapshotEntry& target = menu->entries[menu->count++];
        target.depth = static_cast<DWORD>(entry.depth);
        target.title = HeapCopy(Utf8ToCp932(entry.title, replaced));
        target.text =
            entry.submenu ? nullptr : HeapCopy(WithCrLfLineEnds(Utf8ToCp932(entry.text, replaced)));
        if (!target.title || (!entry.submenu && !target.text)) {
            FreeMenuSnapshot(menu);
            return kSharedIncomplete;
        }
    }
    return kSharedFine;
}

} // namespace

SharedProblem ParseSharedMenu(const char* bytes, size_t size, MenuSnapshot* menu) {
    *menu = {};
    if (size > kSharedMenuMaxBytes)
        return kSharedTooLarge;
    try {
        std::vector<BackupEntry> entries;
        BackupError error = ReadMenuBackup(bytes, size, entries);
        if (error != BackupError::kNone)
            return ProblemOf(error, bytes, size);
        return Convert(entries, menu);
    } catch (...) {
        // Memory ran out: the last good copy stays, and the next check tries
        // again.
        FreeMenuSnapshot(menu);
        return kSharedIncomplete;
    }
}
