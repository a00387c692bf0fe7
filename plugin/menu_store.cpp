// Store reading. Values are written by the editor without a terminating NUL,
// so every read terminates the bytes itself and sizes its buffer from the
// length the registry reports.
#include "menu_store.h"

#include <stdlib.h>
#include <string.h>

HKEY OpenStore(void) {
    HKEY software = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ | KEY_WRITE, &software) !=
        ERROR_SUCCESS)
        return nullptr;
    HKEY company = nullptr;
    LONG made = RegCreateKeyExA(software, "Ostrel", 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                                &company, nullptr);
    RegCloseKey(software);
    if (made != ERROR_SUCCESS)
        return nullptr;
    HKEY root = nullptr;
    if (RegCreateKeyExA(company, "Tevrix", 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &root,
                        nullptr) != ERROR_SUCCESS)
        root = nullptr;
    RegCloseKey(company);
    return root;
}

HKEY OpenMenuKey(HKEY root) {
    if (!root)
        return nullptr;
    HKEY menu = nullptr;
    if (RegCreateKeyExA(root, "URL", 0, nullptr, 0, KEY_READ, nullptr, &menu, nullptr) !=
        ERROR_SUCCESS)
        return nullptr;
    return menu;
}

namespace {

char* EmptyString(void) {
    return static_cast<char*>(calloc(1, 1));
}

} // namespace

char* ReadStoreString(HKEY key, const char* name) {
    // The value may change between asking its size and reading it; a few
    // attempts settle that, and then it reads as empty.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD size = 0;
        if (RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
            return EmptyString();
        char* buffer = static_cast<char*>(malloc(size + 1));
        if (!buffer)
            return nullptr;
        DWORD read = size;
        LONG result =
            RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &read);
        if (result == ERROR_SUCCESS && read <= size) {
            buffer[read] = '\0'; // stored without a NUL: terminate after the bytes
            return buffer;       // stored with one: the string ends there already
        }
        free(buffer);
        if (result != ERROR_MORE_DATA)
            return EmptyString();
    }
    return EmptyString();
}

DWORD ReadStoreNumber(HKEY key, const char* name) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        size != sizeof value)
        return 0;
    return value;
}
