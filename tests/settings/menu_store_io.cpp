#include "menu_store_io.h"

namespace {
const char kRoot[] = "Software\\Ostrel\\Tevrix";

std::string FullPath(const std::string& path) {
    return path.empty() ? kRoot : std::string(kRoot) + "\\" + path;
}

void WriteEntries(HKEY parent, const std::vector<StoreEntry>& entries) {
    for (size_t i = 0; i < entries.size(); ++i) {
        const StoreEntry& entry = entries[i];
        HKEY key = nullptr;
        std::string name = "URL" + std::to_string(i);
        RegCreateKeyExA(parent, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                        nullptr);
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(entry.title.c_str()),
                       static_cast<DWORD>(entry.title.size()));
        RegSetValueExA(key, "Type", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&entry.type),
                       sizeof entry.type);
        if (entry.type == 1)
            WriteEntries(key, entry.children);
        else
            RegSetValueExA(key, "URL", 0, REG_SZ, reinterpret_cast<const BYTE*>(entry.text.c_str()),
                           static_cast<DWORD>(entry.text.size()));
        RegCloseKey(key);
    }
}

std::string ReadString(HKEY key, const char* name) {
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return "";
    std::string text(size + 1, '\0');
    RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&text[0]), &size);
    text.resize(size);
    size_t end = text.find('\0');
    return end == std::string::npos ? text : text.substr(0, end);
}

void ReadEntries(HKEY parent, std::vector<StoreEntry>* entries) {
    char name[1024];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(parent, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            return;
        HKEY key = nullptr;
        if (RegOpenKeyExA(parent, name, 0, KEY_READ, &key) != ERROR_SUCCESS)
            continue;
        StoreEntry entry;
        entry.title = ReadString(key, nullptr);
        DWORD size = sizeof entry.type;
        RegQueryValueExA(key, "Type", nullptr, nullptr, reinterpret_cast<BYTE*>(&entry.type),
                         &size);
        if (entry.type == 1)
            ReadEntries(key, &entry.children);
        else
            entry.text = ReadString(key, "URL");
        entries->push_back(entry);
        RegCloseKey(key);
    }
}
} // namespace

StoreEntry TextEntry(const std::string& title, const std::string& text) {
    StoreEntry entry;
    entry.title = title;
    entry.text = text;
    return entry;
}

StoreEntry Submenu(const std::string& title, std::vector<StoreEntry> children) {
    StoreEntry entry;
    entry.title = title;
    entry.type = 1;
    entry.children = std::move(children);
    return entry;
}

void WriteStoreMenu(const std::vector<StoreEntry>& entries, const std::string& key) {
    HKEY menu = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, FullPath(key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &menu, nullptr);
    WriteEntries(menu, entries);
    RegCloseKey(menu);
}

bool ReadStoreMenu(std::vector<StoreEntry>* entries) {
    entries->clear();
    HKEY menu = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, FullPath("URL").c_str(), 0, KEY_READ, &menu) !=
        ERROR_SUCCESS)
        return false;
    ReadEntries(menu, entries);
    RegCloseKey(menu);
    return true;
}

std::vector<std::string> StoreKeyNames(const std::string& path) {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, FullPath(path).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return names;
    char name[1024];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.push_back(name);
    }
    RegCloseKey(key);
    return names;
}

bool StoreValueExists(const std::string& path, const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, FullPath(path).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return false;
    bool exists = RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(key);
    return exists;
}

void WriteStoreString(const std::string& path, const char* name, const std::string& text) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, FullPath(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &key, nullptr);
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size()));
    RegCloseKey(key);
}

std::string ReadStoreString(const std::string& path, const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, FullPath(path).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return "";
    std::string text = ReadString(key, name);
    RegCloseKey(key);
    return text;
}
