// Export and import of the whole menu of the page "メニュー", without the
// dialogs: the page's tree to a backup file's bytes, and a checked backup
// file into the tree, either in place of the whole menu or as a new submenu.
#pragma once
#include "settings/backup/menu_backup_format.h"
#include "settings/menu_page/url_page.h"

#include <string>
#include <vector>

// The menu as the tree holds it, the string box's pending text included, as
// a backup file. False when it is deeper than kMaxBackupLevels. unconvertible
// counts the bytes written as '?' because they form no Shift-JIS character.
bool ExportMenu(CURLPage& page, std::string& file, int& unconvertible);

// A backup file read and checked, its strings already in Shift-JIS.
struct LoadedBackup {
    std::vector<BackupEntry> entries;
    int levels = 0;   // menu levels, the top level counting as one; 0 when empty
    int replaced = 0; // characters that became '?'
};

// Reads the file at path; anything but kNone leaves backup empty. Every
// line end of a text becomes CR LF (titles keep theirs).
BackupError LoadBackup(const char* path, LoadedBackup& backup);
// The same from a file's bytes.
BackupError LoadBackupBytes(const std::string& bytes, LoadedBackup& backup);

// Replaces the whole menu by the backup's. False, with the tree as it was,
// when an item could not be made.
bool ReplaceMenu(CURLPage& page, const LoadedBackup& backup);

// Appends the backup as a submenu titled title at the end of the top level
// and then deletes replaced (when not null) with its subtree. The new
// submenu; null, with the tree as it was, when an item could not be made.
HTREEITEM AddMenuAsSubmenu(CURLPage& page, const LoadedBackup& backup, const std::string& title,
                           HTREEITEM replaced);
