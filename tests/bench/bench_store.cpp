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

} // namespace

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
