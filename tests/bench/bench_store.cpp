#include "bench_store.h"

#include <windows.h>

#include <string>

#include "store_reset.h"

namespace {

void SetString(HKEY key, const char* name, const std::string& text) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                   static_cast<DWORD>(text.size()));
}

void SetNumber(HKEY key, const char* name, DWORD value) {
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

const char kMenuPath[] = "Software\\Ostrel\\Tevrix\\URL";

} // namespace

// The registry floor: enumerate the entries and read each one's title, type
// and text once, into fixed buffers.
void ReadStoreFloor() {
    HKEY menu = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kMenuPath, 0, KEY_READ, &menu) != ERROR_SUCCESS)
        return;
    char name[256];
    char text[1024];
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = sizeof name;
        if (RegEnumKeyExA(menu, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        HKEY entry = nullptr;
        if (RegOpenKeyExA(menu, name, 0, KEY_READ, &entry) != ERROR_SUCCESS)
            continue;
        DWORD size = sizeof text;
        RegQueryValueExA(entry, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
        DWORD type = 0;
        size = sizeof type;
        RegQueryValueExA(entry, "Type", nullptr, nullptr, reinterpret_cast<BYTE*>(&type), &size);
        size = sizeof text;
        RegQueryValueExA(entry, "URL", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
        RegCloseKey(entry);
    }
    RegCloseKey(menu);
}

void WriteFlatStore(int entries) {
    ResetStore();
    HKEY menu = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Ostrel\\Tevrix\\URL", 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &menu, nullptr);
    for (int i = 0; i < entries; ++i) {
        HKEY entry = nullptr;
        RegCreateKeyExA(menu, ("URL" + std::to_string(i)).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &entry, nullptr);
        SetString(entry, nullptr, "エントリ " + std::to_string(i));
        SetString(entry, "URL", "https://example.jp/page/" + std::to_string(i));
        SetNumber(entry, "Type", 0);
        RegCloseKey(entry);
    }
    RegCloseKey(menu);
}

void WriteGroupedStore(int entries) {
    ResetStore();
    HKEY menu = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, kMenuPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &menu,
                    nullptr);
    for (int g = 0; g * 100 < entries; ++g) {
        HKEY group = nullptr;
        RegCreateKeyExA(menu, ("URL" + std::to_string(g)).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &group, nullptr);
        SetString(group, nullptr, "グループ " + std::to_string(g));
        SetNumber(group, "Type", 1);
        for (int i = g * 100; i < entries && i < (g + 1) * 100; ++i) {
            HKEY entry = nullptr;
            RegCreateKeyExA(group, ("URL" + std::to_string(i - g * 100)).c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &entry, nullptr);
            SetString(entry, nullptr, "エントリ " + std::to_string(i));
            SetString(entry, "URL", "https://example.jp/page/" + std::to_string(i));
            SetNumber(entry, "Type", 0);
            RegCloseKey(entry);
        }
        RegCloseKey(group);
    }
    RegCloseKey(menu);
}
