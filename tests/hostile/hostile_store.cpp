#include "hostile_store.h"

namespace hostile {

namespace {

HKEY CreateKey(HKEY parent, const std::string& name) {
    HKEY key = nullptr;
    RegCreateKeyExA(parent, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return key;
}

void SetBytes(HKEY key, const char* name, DWORD type, const std::string& bytes) {
    // Followed by a byte that is not NUL, so the count alone ends the value.
    std::string padded = bytes + "X";
    RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(padded.data()),
                   static_cast<DWORD>(bytes.size()));
}

void SetNumber(HKEY key, const char* name, DWORD value) {
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

HKEY CreateEntry(HKEY menu, int index, const std::string& title) {
    HKEY entry = CreateKey(menu, "URL" + std::to_string(index));
    SetBytes(entry, nullptr, REG_SZ, title);
    return entry;
}

void WriteTextEntry(HKEY menu, int index, const std::string& title, const std::string& text) {
    HKEY entry = CreateEntry(menu, index, title);
    SetBytes(entry, "URL", REG_SZ, text);
    SetNumber(entry, "Type", 0);
    RegCloseKey(entry);
}

// A child that a reader shows only if it takes its parent for a submenu.
void WriteChild(HKEY entry, const std::string& title) {
    WriteTextEntry(entry, 0, title, "child text");
}

// A key whose name has a character with no Shift-JIS form: the ANSI functions
// enumerate it with that character replaced and then cannot open it.
void WriteUnopenableEntry(HKEY menu) {
    HKEY entry = nullptr;
    RegCreateKeyExW(menu, L"URL5\u2603", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &entry, nullptr);
    const wchar_t title[] = L"hidden";
    const wchar_t text[] = L"hidden text";
    RegSetValueExW(entry, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(title), sizeof title);
    RegSetValueExW(entry, L"URL", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
    SetNumber(entry, "Type", 0);
    RegCloseKey(entry);
}

void WriteWideMenu(HKEY menu) {
    for (int i = 0; i < kWideEntries; ++i)
        WriteTextEntry(menu, i, "item" + std::to_string(i), "text" + std::to_string(i));
}

void WriteDeepMenu(HKEY top) {
    HKEY menu = top;
    for (int level = 1; level < kNestingDepth; ++level) {
        HKEY entry = CreateEntry(menu, 0, "level" + std::to_string(level));
        SetNumber(entry, "Type", 1);
        if (menu != top)
            RegCloseKey(menu);
        menu = entry;
    }
    WriteTextEntry(menu, 0, "bottom", "bottom text");
    if (menu != top)
        RegCloseKey(menu);
}

} // namespace

const std::string& MegabyteText() {
    static const std::string text = [] {
        std::string line = "日本語のテキスト 0123456789 abcdefghijklmnopqrstuvwxyz ｶﾀｶﾅ\r\n";
        std::string all;
        while (all.size() < 1024 * 1024)
            all += line;
        return all;
    }();
    return text;
}

void WriteHostileStore() {
    HKEY menu = CreateKey(HKEY_CURRENT_USER, "Software\\Ostrel\\Tevrix\\URL");

    HKEY entry = CreateEntry(menu, 0, "type string");
    SetBytes(entry, "Type", REG_SZ, "1");
    SetBytes(entry, "URL", REG_SZ, "string type text");
    WriteChild(entry, "under string type");
    RegCloseKey(entry);

    entry = CreateEntry(menu, 1, "type binary");
    SetBytes(entry, "Type", REG_BINARY, std::string("\x01\x00\x00\x00", 4));
    WriteChild(entry, "under binary type");
    RegCloseKey(entry);

    entry = CreateEntry(menu, 2, "type short binary");
    SetBytes(entry, "Type", REG_BINARY, std::string("\x01", 1));
    SetBytes(entry, "URL", REG_SZ, "short binary text");
    WriteChild(entry, "under short binary type");
    RegCloseKey(entry);

    entry = CreateEntry(menu, 3, "url number");
    SetNumber(entry, "URL", 0x34333231);
    SetNumber(entry, "Type", 0);
    RegCloseKey(entry);

    WriteTextEntry(menu, 4, "megabyte", MegabyteText());
    WriteTextEntry(menu, 5, std::string("NUL\0inside", 10), std::string("before\0after", 12));
    WriteUnopenableEntry(menu);

    entry = CreateEntry(menu, 6, "wide");
    SetNumber(entry, "Type", 1);
    WriteWideMenu(entry);
    RegCloseKey(entry);

    entry = CreateEntry(menu, 7, "deep");
    SetNumber(entry, "Type", 1);
    WriteDeepMenu(entry);
    RegCloseKey(entry);

    RegCloseKey(menu);
}

std::string DeepestMenuPath() {
    std::string path = "Software\\Ostrel\\Tevrix\\URL\\URL7";
    for (int level = 1; level < kNestingDepth; ++level)
        path += "\\URL0";
    return path;
}

} // namespace hostile
