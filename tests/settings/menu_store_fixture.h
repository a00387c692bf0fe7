// Menu stores written by tests before the sheet opens, and read after it closed.
#pragma once
#include <windows.h>

#include <string>

// One item of the stored menu, at a key path below "URL" ("URL0",
// "URL0\\URL1"): a submenu when text is null, else a text entry.
void StoreMenuItem(const std::string& keyPath, const char* title, const char* text);

// The store root's "Favorites": written, and read back (present false when absent).
void StoreFavoritesFolder(const std::string& folder);
std::string StoredFavoritesFolder(bool* present = nullptr);

// A string value below the store root ("URL\\URL0", "" for the default value);
// "<absent>" when missing.
std::string StoredString(const std::string& keyPath, const char* name);
// A DWORD value below the store root, or -1.
long long StoredDword(const std::string& keyPath, const char* name);
