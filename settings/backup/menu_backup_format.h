// The backup file of the whole menu: UTF-8 JSON holding a format name, a
// version and the menu as a tree of submenus and text entries.
//
//   {"format": "Tevrix menu", "version": 1, "menu": [
//     {"title": "リンク", "submenu": [{"title": "Site", "text": "http://example.jp/"}]},
//     {"title": "署名", "text": "山田\r\n"}]}
//
// An entry with "submenu" is a submenu, any other a text entry; a missing
// "title" or "text" reads as empty, as in the store. Members of other names
// are passed over. Reading and writing here are byte-level and include no
// windows.h: the strings stay UTF-8, and the menu is a flat list in tree order
// so that no part of the program walks it recursively.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

extern const char kBackupFormatName[]; // "Tevrix menu"
const int kBackupVersion = 1;

// Menu levels a backup may hold, the top level counting as one. The store
// nests a key per level, the registry at most 512 deep including the path
// above the menu; half of that keeps the page's walks of the tree shallow.
const int kMaxBackupLevels = 256;
// Larger files are refused before they are read.
const size_t kMaxBackupFileBytes = 64u * 1024 * 1024;

struct BackupEntry {
    int depth = 0; // 0 on the top level, one more in each submenu
    bool submenu = false;
    std::string title;
    std::string text; // text entries only
};

enum class BackupError {
    kNone,
    kCannotRead,   // the file could not be opened or read
    kTooLarge,     // over kMaxBackupFileBytes
    kInvalidUtf8,  // not JSON, and not UTF-8 either
    kNotJson,      // UTF-8 but no JSON document
    kOtherFormat,  // JSON without our format name
    kNewerVersion, // our format, written by a later version
    kBadMenu,      // our format, but the version or the menu is not as described above
    kTooDeep,      // more than kMaxBackupLevels menu levels
};

// Reads a backup file's bytes. On kNone, entries holds the menu in tree
// order (each entry followed by the content of its submenu); otherwise it is
// left empty. Nesting is checked as the parse goes: a file deeper than the
// limit is refused without being walked further.
BackupError ReadMenuBackup(const char* data, size_t size, std::vector<BackupEntry>& entries);

// The backup file of entries (tree order, strings in UTF-8), indented, with
// CR LF line ends. An entry deeper than the submenus open before it goes into
// the deepest of them.
std::string WriteMenuBackup(const std::vector<BackupEntry>& entries);

// Whether bytes are well-formed UTF-8 (no overlong forms, surrogates or code
// points past U+10FFFF).
bool IsValidUtf8(const char* data, size_t size);
