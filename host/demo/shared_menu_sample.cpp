#include "shared_menu_sample.h"

#include <shlobj.h>

#include <string>

#include "plugin_loader.h"

namespace {

const char* const SampleFileName = "team-menu.json";
const char* const SampleTitle = "サポート窓口";
const int SampleEntries = 7; // text entries and submenus, all levels

// UTF-8 JSON as the backup page writes it.
const char* const SampleMenu =
    u8"{\"format\": \"Tevrix menu\", \"version\": 1, \"menu\": [\r\n"
    u8" {\"title\": \"挨拶\", \"submenu\": [\r\n"
    u8"  {\"title\": \"お問い合わせのお礼\", \"text\": "
    u8"\"お問い合わせいただき、ありがとうございます。\\r\\n\"},\r\n"
    u8"  {\"title\": \"回答が遅れたお詫び\", \"text\": "
    u8"\"ご回答が遅くなり、申し訳ございません。\\r\\n\"}]},\r\n"
    u8" {\"title\": \"手順\", \"submenu\": [\r\n"
    u8"  {\"title\": \"パスワードの再設定\", \"text\": "
    u8"\"https://support.example.jp/password\"},\r\n"
    u8"  {\"title\": \"請求書の再発行\", \"text\": \"https://support.example.jp/invoice\"}]},\r\n"
    u8" {\"title\": \"署名 (サポート窓口)\", \"text\": \"――\\r\\n株式会社オストレル "
    u8"サポート窓口\\r\\n\"}]}\r\n";

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::wstring Widened(const std::string& ansi) {
    wchar_t wide[MAX_PATH * 2] = L"";
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide, MAX_PATH * 2);
    return wide;
}

// Now, in UTC, as the plug-in's state file writes times.
std::wstring UtcNow() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    wchar_t text[32];
    wsprintfW(text, L"%04d-%02d-%02d %02d:%02d:%02d", now.wYear, now.wMonth, now.wDay, now.wHour,
              now.wMinute, now.wSecond);
    return text;
}

BOOL StoreString(HKEY key, const char* name, const std::string& text) {
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size())) == ERROR_SUCCESS;
}

} // namespace

BOOL WriteSharedMenuSample(void) {
    std::string source = std::string(HostFolder()) + SampleFileName;
    if (!WriteBytes(Widened(source), SampleMenu))
        return FALSE;
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Ostrel\\Tevrix", 0, nullptr, 0, KEY_WRITE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return FALSE;
    BOOL stored =
        StoreString(key, "SharedMenu", source) && StoreString(key, "SharedMenuTitle", SampleTitle);
    RegCloseKey(key);

    // What the plug-in keeps after reading the file whole.
    wchar_t appData[MAX_PATH] = L"";
    if (!stored || FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr,
                                           SHGFP_TYPE_CURRENT, appData)))
        return FALSE;
    std::wstring folder = std::wstring(appData) + L"\\Ostrel";
    CreateDirectoryW(folder.c_str(), nullptr);
    folder += L"\\Tevrix\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    if (!WriteBytes(folder + L"shared-menu.json", SampleMenu))
        return FALSE;
    std::wstring state = folder + L"shared-menu-state.ini";
    std::wstring now = UtcNow();
    const wchar_t* const section = L"SharedMenu";
    wchar_t entries[16];
    wsprintfW(entries, L"%d", SampleEntries);
    const std::wstring values[][2] = {
        {L"Source", Widened(source)}, {L"CopyRead", now},    {L"Entries", entries},
        {L"LastCheck", now},          {L"Problem", L"none"}, {L"ProblemSince", L""},
    };
    for (const auto& value : values)
        if (!WritePrivateProfileStringW(section, value[0].c_str(), value[1].c_str(), state.c_str()))
            return FALSE;
    return TRUE;
}
