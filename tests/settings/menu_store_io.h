// The menu store as a test writes and reads it, straight through the
// registry: entries in the order the registry enumerates them.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct StoreEntry {
    std::string title;
    DWORD type = 0; // 1 submenu
    std::string text;
    std::vector<StoreEntry> children;
};

StoreEntry TextEntry(const std::string& title, const std::string& text);
StoreEntry Submenu(const std::string& title, std::vector<StoreEntry> children);

// Writes the entries as URL0, URL1 ... below HKCU\Software\Ostrel\Tevrix\URL
// (or another key below the root).
void WriteStoreMenu(const std::vector<StoreEntry>& entries, const std::string& key = "URL");
// Reads the "URL" key in enumeration order; false when it does not exist.
bool ReadStoreMenu(std::vector<StoreEntry>* entries);
// The child key names of a menu key below the root ("URL", "URL\\URL0" ...).
std::vector<std::string> StoreKeyNames(const std::string& path);
// Whether a value exists below the root.
bool StoreValueExists(const std::string& path, const char* name);
// A string value below the root, cut at its first NUL; empty when missing.
std::string ReadStoreString(const std::string& path, const char* name);
void WriteStoreString(const std::string& path, const char* name, const std::string& text);
