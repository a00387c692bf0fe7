// The page "共有メニュー" of the real sheet, and the plug-in's files it
// reads, as a test writes them in the user's local application data folder.
#pragma once
#include "tests/backup/backup_steps.h"

#include <string>

const int kSharedPageIndex = 3;
const int kSourceField = 1201;
const int kTitleField = 1203;
const int kStateText = 1204;
const int kSharedTree = 1205;
const int kCopyButton = 1206;
const int kExportSharedButton = 1210;

// One state file's keys, as the plug-in's worker writes them.
struct StateFile {
    std::wstring source;
    std::string copyRead, entries, lastCheck, problem, problemSince, httpStatus;
};
// Writes (or with null removes) the state file and the local copy.
void WriteStateFile(const StateFile* state);
void WriteLocalCopy(const std::string* bytes);

// A UTC time of the state file as the page shows it, in local time.
std::string ShownTime(const std::string& utc);

// Shows the page anew (so it reads the files again) and runs action on it.
Step OnSharedPage(std::function<void(HWND page)> action);
// The shared tree as "title#image{...}|title#image".
std::string DescribeSharedTree(HWND page);
// Selects the shared tree's item reached by titles from its top item (none: the top).
void SelectSharedItem(HWND page, const std::vector<std::string>& titles);

// A root value of the store; "(none)" when absent.
std::string StoredRootString(const char* name);
// A file's bytes; "(none)" when it cannot be read.
std::string FileBytes(const std::string& path);
