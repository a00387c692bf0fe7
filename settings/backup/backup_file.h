// Reading a backup file whole, and writing one so that an interrupted write
// never leaves the chosen file half written.
#pragma once
#include "settings/backup/menu_backup_format.h"

#include <windows.h>

#include <string>

// The file's bytes. kTooLarge past kMaxBackupFileBytes (nothing is read
// then), kCannotRead when it cannot be opened or read to its end.
BackupError ReadBackupFile(const char* path, std::string& bytes);
// The same from a file opened for reading.
BackupError ReadOpenBackupFile(HANDLE file, std::string& bytes);

// Writes bytes to a new file beside path and then puts it in path's place, so
// that path holds either its old content or all of the new. False when any
// step failed; the new file is removed again then.
bool WriteFileReplacing(const char* path, const std::string& bytes);
