// The headless demo's pictures of the settings sheet: it opens the sheet
// through the plug-in's configure command, photographs its first two pages,
// imports a Japanese UTF-8 bookmark export through "HTMLﾌｧｲﾙから挿入",
// photographs the imported submenu, then the page バックアップ and, over a
// sample shared menu, the page 共有メニュー, and cancels.
#pragma once
#include <windows.h>

// Writes settings-menu.png, settings-etc.png, settings-import.png,
// settings-backup.png and settings-shared.png (and the export it imports,
// bookmarks-ja.html, and the shared menu team-menu.json) beside the host's
// executable.
// FALSE when the sheet did not open or a picture could not be saved.
BOOL PhotographSettingsSheet(void);
