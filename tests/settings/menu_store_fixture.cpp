#include "menu_store_fixture.h"

#include <cstring>

namespace {
const char kRoot[] = "Software\\Ostrel\\Tevrix";

HKEY CreateKey(const std::string& path) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    return key;
}

// Stored as the store keeps its strings: without a terminating NUL.
void SetString(HKEY key, const char* name, const char* text) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>(std::strlen(text)));
}
} // namespace

void StoreMenuItem(const std::string& keyPath, const char* title, const char* text) {
    HKEY key = CreateKey(std::string(kRoot) + "\\URL\\" + keyPath);
    SetString(key, nullptr, title);
    DWORD type = text ? 0 : 1;
    RegSetValueExA(key, "Type", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&type), sizeof type);
    if (text)
        SetString(key, "URL", text);
    RegCloseKey(key);
}

void StoreFavoritesFolder(const std::string& folder) {
    HKEY key = CreateKey(kRoot);
    SetString(key, "Favorites", folder.c_str());
    RegCloseKey(key);
}

std::string StoredString(const std::string& keyPath, const char* name) {
    std::string path = keyPath.empty() ? kRoot : std::string(kRoot) + "\\" + keyPath;
    DWORD size = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_SZ, nullptr, nullptr,
                     &size) != ERROR_SUCCESS)
        return "<absent>";
    std::string value(size + 1, '\0');
    DWORD capacity = static_cast<DWORD>(value.size());
    RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_SZ, nullptr, &value[0],
                 &capacity);
    return value.c_str();
}

std::string StoredFavoritesFolder(bool* present) {
    std::string value = StoredString("", "Favorites");
    if (present)
        *present = value != "<absent>";
    return value == "<absent>" ? "" : value;
}

long long StoredDword(const std::string& keyPath, const char* name) {
    std::string path = std::string(kRoot) + "\\" + keyPath;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value,
                     &size) != ERROR_SUCCESS)
        return -1;
    return value;
}
