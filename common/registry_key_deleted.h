// Whether another program deleted a registry key under its open handle: the
// handle then answers ERROR_KEY_DELETED, also after a key of the same name was
// made again. Shared by both libraries' readers of the store.
#pragma once
#include <windows.h>

inline bool RegistryKeyDeleted(HKEY key) {
    return RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr) == ERROR_KEY_DELETED;
}
