#include "sample_store.h"

#include <string.h>

#include <string>

namespace {

const char* const RootPath = "Software\\Ostrel\\Tevrix";
const char* const MenuPath = "Software\\Ostrel\\Tevrix\\URL";

struct SampleEntry {
    const char* path; // below the "URL" key
    const char* title;
    const char* text; // null for a submenu
};

const SampleEntry SampleMenu[] = {
    {"URL0", "会社のホームページ", "https://www.example.co.jp/"},
    {"URL1", "署名", "--\r\n山田 太郎 <taro@example.jp>\r\n株式会社サンプル 営業部\r\n"},
    {"URL2", "リンク集", nullptr},
    {"URL2\\URL0", "地図", "https://maps.example.jp/?q=東京駅"},
    {"URL2\\URL1", "サポート窓口", "https://support.example.jp/"},
    {"URL3", "定型文: よろしく", "よろしくお願いいたします。\r\n"},
};

bool MenuHasEntries(void) {
    HKEY menu = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, MenuPath, 0, KEY_READ, &menu) != ERROR_SUCCESS)
        return false;
    DWORD subkeys = 0;
    RegQueryInfoKeyA(menu, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(menu);
    return subkeys > 0;
}

// Strings go in without a terminating NUL, as the settings editor stores them.
void SetString(HKEY key, const char* name, const char* text) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>(strlen(text)));
}

void SetNumber(HKEY key, const char* name, DWORD value) {
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

} // namespace

BOOL WriteSampleStoreIfEmpty(void) {
    if (MenuHasEntries())
        return FALSE;
    for (const SampleEntry& entry : SampleMenu) {
        std::string path = std::string(MenuPath) + "\\" + entry.path;
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                            &key, nullptr) != ERROR_SUCCESS)
            return FALSE;
        SetString(key, nullptr, entry.title);
        if (entry.text) {
            SetString(key, "URL", entry.text);
            SetNumber(key, "Type", 0);
        } else {
            SetNumber(key, "Type", 1);
        }
        RegCloseKey(key);
    }
    // The address-book popup too, from the sample mailbox's book.
    HKEY root = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, RootPath, 0, nullptr, 0, KEY_WRITE, nullptr, &root,
                        nullptr) == ERROR_SUCCESS) {
        SetNumber(root, "UseAddress", 1);
        RegCloseKey(root);
    }
    return TRUE;
}
