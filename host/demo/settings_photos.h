// The headless demo's pictures of the settings sheet: it opens the sheet
// through the plug-in's configure command, photographs its three pages and cancels.
#pragma once
#include <windows.h>

// Writes settings-menu.png, settings-etc.png and settings-backup.png beside the
// host's executable.
// FALSE when the sheet did not open or a picture could not be saved.
BOOL PhotographSettingsSheet(void);
