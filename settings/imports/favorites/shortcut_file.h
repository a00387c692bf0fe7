// Internet Shortcut files (".url"): INI-style files that name an address.
#pragma once
#include <string>

// The value "URL" of section "InternetShortcut", of any length; "" when the
// file, the section or the key is missing.
std::string ReadShortcutAddress(const char* path);
