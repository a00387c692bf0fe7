// Feeds arbitrary bytes to the backup file reader and checks what it promises
// of an accepted menu: a tree in order within the level limit, strings in
// UTF-8, and a file written from it that reads back as the same menu.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "settings/backup/menu_backup_format.h"

namespace {
void Require(bool condition) {
    if (!condition)
        std::abort();
}

bool SameMenu(const std::vector<BackupEntry>& a, const std::vector<BackupEntry>& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].depth != b[i].depth || a[i].submenu != b[i].submenu || a[i].title != b[i].title ||
            a[i].text != b[i].text)
            return false;
    return true;
}

void CheckTree(const std::vector<BackupEntry>& entries) {
    int allowed = 0; // the deepest level the next entry may stand on
    for (const BackupEntry& entry : entries) {
        Require(entry.depth >= 0 && entry.depth <= allowed && entry.depth < kMaxBackupLevels);
        Require(!entry.submenu || entry.text.empty());
        Require(IsValidUtf8(entry.title.data(), entry.title.size()));
        Require(IsValidUtf8(entry.text.data(), entry.text.size()));
        allowed = entry.submenu ? entry.depth + 1 : entry.depth;
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    std::vector<BackupEntry> entries;
    BackupError error = ReadMenuBackup(bytes, size, entries);
    if (error != BackupError::kNone) {
        Require(entries.empty());
        return 0;
    }
    CheckTree(entries);
    std::string written = WriteMenuBackup(entries);
    std::vector<BackupEntry> again;
    Require(ReadMenuBackup(written.data(), written.size(), again) == BackupError::kNone);
    Require(SameMenu(entries, again));
    return 0;
}
