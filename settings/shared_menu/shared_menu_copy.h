// "自分のメニューにコピー": an item of the shared menu, with its submenu,
// copied into the page "メニュー" right after that page's selection (at the
// end of the top level when the top item or nothing is selected).
#pragma once
#include "settings/backup/menu_backup_format.h"
#include "settings/menu_page/url_page.h"

#include <string>
#include <vector>

enum class SharedCopyResult { kCopied, kTooDeep, kNotInserted };

// Copies entries[first] and the entries of its submenu after it. With first
// past the end, the whole shared menu is copied as a new submenu titled
// title. The copy is selected and the page marked as changed; on failure
// nothing stays in the tree.
SharedCopyResult CopySharedItem(CURLPage& page, const std::vector<BackupEntry>& entries,
                                size_t first, const std::string& title);
