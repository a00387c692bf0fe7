#include "settings/shared_menu/shared_menu_state.h"

#include "settings/backup/backup_file.h"

#include <shlobj.h>

namespace {
const wchar_t kStateFile[] = L"shared-menu-state.ini";
const wchar_t kCopyFile[] = L"shared-menu.json";
const wchar_t kSection[] = L"SharedMenu";

const char kNotSet[] = "共有メニューは設定されていません";
const char kNotReadYet[] = "まだ読み込まれていません";

std::wstring ProfileText(const std::wstring& file, const wchar_t* key) {
    wchar_t text[2048] = L"";
    ::GetPrivateProfileStringW(kSection, key, L"", text, sizeof text / sizeof text[0],
                               file.c_str());
    return text;
}

// The values other than Source are ASCII.
std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text)
        narrow += c < 0x80 ? static_cast<char>(c) : '?';
    return narrow;
}

std::wstring Widened(const std::string& ansi) {
    int length =
        ::MultiByteToWideChar(932, 0, ansi.c_str(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    if (length > 0)
        ::MultiByteToWideChar(932, 0, ansi.c_str(), static_cast<int>(ansi.size()), &wide[0],
                              length);
    return wide;
}

// A whole decimal number; -1 when text is empty or holds anything else.
long Number(const std::wstring& text) {
    long number = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9' || number > 100000000)
            return -1;
        number = number * 10 + (c - L'0');
    }
    return text.empty() ? -1 : number;
}

// A UTC time of the state file in the user's local time; the text as it
// stands when it is not one.
std::string LocalTime(const std::string& utc) {
    // yyyy-mm-dd hh:mm:ss
    const char pattern[] = "0000-00-00 00:00:00";
    if (utc.size() != sizeof pattern - 1)
        return utc;
    for (size_t i = 0; i < utc.size(); ++i) {
        bool digit = utc[i] >= '0' && utc[i] <= '9';
        if (pattern[i] == '0' ? !digit : utc[i] != pattern[i])
            return utc;
    }
    auto field = [&utc](size_t at, size_t length) {
        return static_cast<WORD>(Number(std::wstring(utc.begin() + at, utc.begin() + at + length)));
    };
    SYSTEMTIME time{};
    time.wYear = field(0, 4);
    time.wMonth = field(5, 2);
    time.wDay = field(8, 2);
    time.wHour = field(11, 2);
    time.wMinute = field(14, 2);
    time.wSecond = field(17, 2);
    SYSTEMTIME local{};
    char date[64] = "", clock[32] = "";
    if (!::SystemTimeToTzSpecificLocalTime(nullptr, &time, &local) ||
        !::GetDateFormatA(LOCALE_USER_DEFAULT, 0, &local, "yyyy/MM/dd", date, sizeof date) ||
        !::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &local, "HH:mm", clock, sizeof clock))
        return utc;
    return std::string(date) + " " + clock;
}

std::string ProblemInWords(const SharedMenuState& state) {
    const std::string& problem = state.problem;
    if (problem == "unreachable")
        return "サーバーに接続できません";
    if (problem == "not-found")
        return "ファイルが見つかりません";
    if (problem == "http-status")
        return "サーバーがエラーを返しました (HTTP " + std::to_string(state.httpStatus) + ")";
    if (problem == "timeout")
        return "サーバーが時間内に応答しません";
    if (problem == "certificate")
        return "サーバーの証明書を確認できません";
    if (problem == "insecure")
        return "http:// はこのPC (127.0.0.1, localhost) にだけ使えます";
    if (problem == "not-backup")
        return "バックアップファイルではありません";
    if (problem == "later-version")
        return "新しいバージョンで書き出されたファイルです";
    if (problem == "too-large")
        return "大きすぎます (64MBまで)";
    if (problem == "incomplete")
        return "読み込み中に変更されました";
    if (problem == "bad-menu")
        return "メニューの形式が正しくありません";
    // A later plug-in's reason: named as it is written.
    return "読み込めませんでした (" + problem + ")";
}

// Which copy the tree shows.
std::string CopyRead(const SharedMenuState& state) {
    return std::to_string(state.entries < 0 ? 0 : state.entries) + " 項目、" +
           LocalTime(state.copyRead) + " に読み込み";
}
} // namespace

std::wstring SharedMenuFolder() {
    wchar_t folder[MAX_PATH] = L"";
    if (FAILED(
            ::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return L"";
    return std::wstring(folder) + L"\\Ostrel\\Tevrix\\";
}

SharedMenuState ReadSharedMenuState(const std::wstring& folder) {
    SharedMenuState state;
    std::wstring file = folder + kStateFile;
    if (folder.empty() || ::GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES)
        return state;
    state.present = true;
    state.source = ProfileText(file, L"Source");
    state.copyRead = Narrow(ProfileText(file, L"CopyRead"));
    state.entries = Number(ProfileText(file, L"Entries"));
    state.lastCheck = Narrow(ProfileText(file, L"LastCheck"));
    state.problem = Narrow(ProfileText(file, L"Problem"));
    state.problemSince = Narrow(ProfileText(file, L"ProblemSince"));
    state.httpStatus = static_cast<int>(Number(ProfileText(file, L"HttpStatus")));
    return state;
}

bool StateBelongsTo(const SharedMenuState& state, const std::string& setting) {
    return state.present && !setting.empty() && state.source == Widened(setting);
}

std::string StateInWords(const SharedMenuState& state, const std::string& setting) {
    if (setting.empty())
        return kNotSet;
    // A state of another source says nothing about this one.
    if (!StateBelongsTo(state, setting) || state.lastCheck.empty())
        return kNotReadYet;
    bool hasCopy = !state.copyRead.empty();
    if (state.problem.empty() || state.problem == "none") {
        std::string words = LocalTime(state.lastCheck) + " に確認しました";
        return hasCopy ? words + "\r\n(" + CopyRead(state) + ")" : words;
    }
    std::string since =
        LocalTime(state.problemSince.empty() ? state.lastCheck : state.problemSince);
    if (!hasCopy)
        return ProblemInWords(state) + "\r\n" + since + " から。表示できる共有メニューはありません";
    return ProblemInWords(state) + "\r\n" + since + " から、前回の内容を表示しています\r\n(" +
           CopyRead(state) + ")";
}

BackupError LoadSharedMenuCopy(const std::wstring& folder, LoadedBackup& backup) {
    backup = LoadedBackup();
    if (folder.empty())
        return BackupError::kCannotRead;
    std::wstring path = folder + kCopyFile;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return BackupError::kCannotRead;
    std::string bytes;
    BackupError error = ReadOpenBackupFile(file, bytes);
    ::CloseHandle(file);
    return error == BackupError::kNone ? LoadBackupBytes(bytes, backup) : error;
}
