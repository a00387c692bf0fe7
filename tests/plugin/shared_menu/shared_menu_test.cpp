// A team's shared menu read from a path: it joins the popup after the user's
// own entries, whole or not at all, from the local copy at the first menu
// after start-up, and a source that does not answer, goes away mid-read or is
// replaced while it is read costs the build nothing and never shows half a
// menu. The source is checked at once after any change of the store; the
// tests write a value of their own there to have it checked now rather than
// at its time (every 30 s or more). (Wine notifies no change when a value is
// written again unchanged.)
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "host/host_stub.h"
#include "store_reset.h"
#include "tests/plugin/plugin_harness.h"

namespace {

const char kSharedTitle[] = "共有";

std::wstring LocalFolder() {
    WCHAR base[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, base);
    return std::wstring(base) + L"\\Ostrel\\Tevrix\\";
}

std::string StateKey(const wchar_t* key) {
    WCHAR value[1024] = {};
    GetPrivateProfileStringW(L"SharedMenu", key, L"", value, 1024,
                             (LocalFolder() + L"shared-menu-state.ini").c_str());
    char narrow[1024] = {};
    WideCharToMultiByte(CP_UTF8, 0, value, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

void ForgetLocalState() {
    DeleteFileW((LocalFolder() + L"shared-menu.json").c_str());
    DeleteFileW((LocalFolder() + L"shared-menu-state.ini").c_str());
}

std::string TempPath(const char* name) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

// A backup file of text entries title=text, "{" opening and "}" closing a
// submenu (whose title is the next entry's).
std::string Backup(const std::vector<std::pair<std::string, std::string>>& entries,
                   int version = 1) {
    std::string json =
        "{\"format\": \"Tevrix menu\", \"version\": " + std::to_string(version) + ", \"menu\": [";
    bool first = true;
    for (const auto& entry : entries) {
        if (entry.first == "}") {
            json += "]}";
            first = false;
            continue;
        }
        if (!first)
            json += ", ";
        first = false;
        if (entry.second == "{") {
            json += "{\"title\": \"" + entry.first + "\", \"submenu\": [";
            first = true;
        } else {
            json += "{\"title\": \"" + entry.first + "\", \"text\": \"" + entry.second + "\"}";
        }
    }
    return json + "]}\r\n";
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              0, nullptr);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

// As the editor writes it: a temporary file beside it, then one replace.
void ReplaceFile(const std::string& path, const std::string& bytes) {
    std::string temporary = path + ".tmp";
    WriteFileBytes(temporary, bytes);
    MoveFileExA(temporary.c_str(), path.c_str(),
                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

// Any change of the store has the source checked at once.
void CheckNow() {
    static DWORD pokes = 0;
    WriteStoreNumber("", "TestCheckNow", ++pokes);
}

// Sets the source (and has it checked at once) and waits for
// the check to be written. A store write may notify twice: the reader is let
// settle before and after, so that the state read is that of this check.
std::string CheckSource(const std::string& source, DWORD waitMs = 15000) {
    Sleep(300);
    WritePrivateProfileStringW(L"SharedMenu", L"LastCheck", nullptr,
                               (LocalFolder() + L"shared-menu-state.ini").c_str());
    WriteStoreBytes("", "SharedMenu", source);
    CheckNow();
    HMENU menu = BuildComposeMenu(); // a build, as the host makes them
    DestroyMenu(menu);
    for (DWORD waited = 0; StateKey(L"LastCheck").empty() && waited < waitMs; waited += 20)
        Sleep(20);
    Sleep(300);
    return StateKey(L"Problem");
}

// The text popup in one line: titles, "-" for a separator, "{...}" around a
// submenu's items.
std::string Describe(HMENU popup) {
    std::string out;
    for (const MenuItem& item : ReadMenu(popup)) {
        if (!out.empty())
            out += "|";
        if (item.type & MFT_SEPARATOR)
            out += "-";
        else if (item.submenu)
            out += item.text + "{" + Describe(item.submenu) + "}";
        else
            out += item.text;
    }
    return out;
}

std::string Popup(DWORD* tookMs = nullptr) {
    HMENU menu = CreatePopupMenu();
    DWORD started = GetTickCount();
    Plugin().SendInitMenu(0, menu, QPC_MENU_KIND_COMPOSE);
    if (tookMs)
        *tookMs = GetTickCount() - started;
    std::string shown = Describe(TextPopup(menu));
    DestroyMenu(menu);
    return shown;
}

class SharedMenu : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(Plugin().module, nullptr);
        Plugin().CleanUp();
        ResetStore();
        ForgetLocalState();
        WriteTextEntry("URL", 0, "A", "a");
        std::string s = WriteSubmenuEntry("URL", 1, "S");
        WriteTextEntry(s, 0, "B", "b");
        path_ = TempPath("team-menu.json");
        ReplaceFile(path_, kGood);
    }
    void TearDown() override {
        Plugin().CleanUp();
        ResetStore();
        ForgetLocalState();
        DeleteFileA(path_.c_str());
    }
    const std::string kGood = Backup({{"X", "x\\ny"}, {"T", "{"}, {"Y", "y"}, {"}", ""}});
    const std::string kGoodShown = "A|S{B}|-|共有{X|T{Y}}";
    std::string path_;
};

TEST_F(SharedMenu, JoinsThePopupAfterTheUsersOwnEntriesAndLeavesItAsItWas) {
    EXPECT_EQ(Popup(), "A|S{B}") << "no shared menu: the popup as ever";
    EXPECT_EQ(CheckSource(path_), "none");
    EXPECT_EQ(Popup(), kGoodShown);
    EXPECT_EQ(StateKey(L"Entries"), "3");
    EXPECT_EQ(StateKey(L"Source"), path_);
    HMENU menu = BuildComposeMenu();
    HMENU popup = TextPopup(menu);
    EXPECT_EQ(DataValues(popup), (std::vector<LPARAM>{0, 1, 2, 3})) << "the user's first";
    std::vector<MenuItem> items = ReadMenu(popup);
    ASSERT_EQ(items.size(), 4u);
    std::vector<MenuItem> shared = ReadMenu(items[3].submenu);
    ASSERT_EQ(shared.size(), 2u);
    EXPECT_EQ(InsertedText(shared[0].id), "x\r\ny") << "line ends as the import makes them";
    DestroyMenu(menu);

    WriteStoreBytes("", "SharedMenuTitle", "チーム");
    EXPECT_EQ(Popup(), "A|S{B}|-|チーム{X|T{Y}}");
    HKEY root = CreateStoreKey("");
    RegDeleteValueA(root, "SharedMenu");
    RegCloseKey(root);
    EXPECT_EQ(Popup(), "A|S{B}") << "switched off";
}

TEST_F(SharedMenu, WhatIsNotAWholeBackupIsNeverShownAndTheLastGoodCopyStays) {
    ASSERT_EQ(CheckSource(path_), "none");
    std::string copyRead = StateKey(L"CopyRead");
    struct Case {
        const char* what;
        std::string bytes; // written at the path; "-" deletes the file
        const char* problem;
    } cases[] = {
        {"a later version", Backup({{"Z", "z"}}, 2), "later-version"},
        {"another file", "Subject: hello\r\n\r\nnot a menu\r\n", "not-backup"},
        {"cut short", kGood.substr(0, kGood.size() / 2), "incomplete"},
        {"a malformed menu", "{\"format\": \"Tevrix menu\", \"version\": 1, \"menu\": 3}",
         "bad-menu"},
        {"gone", "-", "not-found"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.bytes == "-")
            DeleteFileA(path_.c_str());
        else
            ReplaceFile(path_, c.bytes);
        EXPECT_EQ(CheckSource(path_), c.problem);
        EXPECT_FALSE(StateKey(L"ProblemSince").empty());
        EXPECT_EQ(Popup(), kGoodShown);
        EXPECT_EQ(StateKey(L"CopyRead"), copyRead) << "the copy kept";
    }
    EXPECT_EQ(CheckSource("team-menu.json"), "insecure") << "a path the current folder completes";
    EXPECT_EQ(Popup(), "A|S{B}") << "its copy belongs to another source";
}

TEST_F(SharedMenu, TheLocalCopyIsThereAtTheFirstMenuAfterStartUp) {
    ASSERT_EQ(CheckSource(path_), "none");
    Plugin().CleanUp();
    DeleteFileA(path_.c_str()); // offline
    Plugin().StartUp(0);
    EXPECT_EQ(Popup(), kGoodShown);
    for (int waited = 0; StateKey(L"Problem") != "not-found" && waited < 10000; waited += 20)
        Sleep(20);
    EXPECT_EQ(StateKey(L"Problem"), "not-found");
    EXPECT_EQ(Popup(), kGoodShown);
}

// A pipe that takes the reader's connection and then sends `bytes` (or
// nothing) and then, unless it stays silent, goes away.
struct PipeServer {
    std::string name;
    std::string bytes;
    bool silent;
    HANDLE stop;
    HANDLE connected;
};

DWORD WINAPI ServePipe(void* parameter) {
    PipeServer* server = static_cast<PipeServer*>(parameter);
    HANDLE pipe = CreateNamedPipeA(server->name.c_str(), PIPE_ACCESS_DUPLEX,
                                   PIPE_TYPE_BYTE | PIPE_WAIT, 1, 1 << 16, 1 << 16, 0, nullptr);
    ConnectNamedPipe(pipe, nullptr);
    SetEvent(server->connected);
    DWORD written = 0;
    if (!server->bytes.empty())
        WriteFile(pipe, server->bytes.data(), static_cast<DWORD>(server->bytes.size()), &written,
                  nullptr);
    if (server->silent)
        WaitForSingleObject(server->stop, 60000);
    else
        Sleep(200);
    DisconnectNamedPipe(pipe);
    CloseHandle(pipe);
    return 0;
}

TEST_F(SharedMenu, ASourceThatNeverAnswersOrGoesAwayMidReadCostsTheBuildNothing) {
    ASSERT_EQ(CheckSource(path_), "none");
    struct Case {
        const char* what;
        const char* pipe;
        bool silent;
        std::string bytes;
        const char* problem;
        DWORD waitMs;
    } cases[] = {
        {"never answers", "\\\\.\\pipe\\tevrix-silent", true, "", "timeout", 40000},
        {"goes away mid-read", "\\\\.\\pipe\\tevrix-gone", false, kGood.substr(0, kGood.size() / 2),
         "incomplete", 15000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PipeServer server = {c.pipe, c.bytes, c.silent, CreateEventA(nullptr, TRUE, FALSE, nullptr),
                             CreateEventA(nullptr, TRUE, FALSE, nullptr)};
        HANDLE thread = CreateThread(nullptr, 0, ServePipe, &server, 0, nullptr);
        Sleep(100);
        WritePrivateProfileStringW(L"SharedMenu", L"LastCheck", nullptr,
                                   (LocalFolder() + L"shared-menu-state.ini").c_str());
        WriteStoreBytes("", "SharedMenu", server.name);
        EXPECT_EQ(WaitForSingleObject(server.connected, 10000), WAIT_OBJECT_0);
        std::vector<DWORD> took;
        for (DWORD waited = 0; StateKey(L"LastCheck").empty() && waited < c.waitMs;) {
            DWORD ms = 0;
            // The pipe has no copy of its own: the popup is the user's own.
            EXPECT_EQ(Popup(&ms), "A|S{B}");
            took.push_back(ms);
            Sleep(50);
            waited += 50 + ms;
        }
        ASSERT_GT(took.size(), 3u);
        std::sort(took.begin(), took.end());
        // Single builds stall on a loaded machine; none waits for the read.
        EXPECT_LT(took[took.size() / 2], 50u) << "the median build while the source is read";
        EXPECT_LT(took.back(), 1000u) << "the slowest";
        EXPECT_EQ(StateKey(L"Problem"), c.problem);
        SetEvent(server.stop);
        WaitForSingleObject(thread, 20000);
        CloseHandle(thread);
        CloseHandle(server.stop);
        CloseHandle(server.connected);
    }
    // Back to the file: the state belonged to the pipe, so the file is read
    // again before it is shown.
    EXPECT_EQ(CheckSource(path_), "none");
    EXPECT_EQ(Popup(), kGoodShown);
}

// Versions of the shared file: version n holds n % 5 + 1 entries "n.i".
std::string Version(int n) {
    std::vector<std::pair<std::string, std::string>> entries;
    for (int i = 0; i < n % 5 + 1; ++i)
        entries.push_back({std::to_string(n) + "." + std::to_string(i), "t"});
    return Backup(entries);
}

// The version the popup shows, -1 when it shows none, -2 when it shows part
// of one or a mix.
int WholeVersionShown(const std::string& shown) {
    size_t start = shown.find("共有{");
    if (start == std::string::npos)
        return -1;
    std::string items = shown.substr(start + strlen("共有{"));
    items.pop_back();
    int version = atoi(items.c_str());
    std::string expected;
    for (int i = 0; i < version % 5 + 1; ++i)
        expected += (i ? "|" : "") + std::to_string(version) + "." + std::to_string(i);
    return items == expected ? version : -2;
}

struct Writer {
    std::string path;
    std::atomic<int> written{0};
    std::atomic<bool> stop{false};
};

DWORD WINAPI WriteVersions(void* parameter) {
    Writer* writer = static_cast<Writer*>(parameter);
    for (int n = 1; !writer->stop; ++n) {
        std::string bytes = Version(n);
        if (n % 3 == 0) {
            // Written in place, in two halves: a reader may find the first.
            HANDLE file = CreateFileA(writer->path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_ALWAYS, 0, nullptr);
            DWORD done = 0;
            WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size() / 2), &done, nullptr);
            Sleep(15);
            WriteFile(file, bytes.data() + bytes.size() / 2,
                      static_cast<DWORD>(bytes.size() - bytes.size() / 2), &done, nullptr);
            CloseHandle(file);
        } else {
            ReplaceFile(writer->path, bytes);
        }
        writer->written = n;
        Sleep(10);
    }
    return 0;
}

TEST_F(SharedMenu, AFileReplacedWhileBuildsRunShowsWholeVersionsAndEndsOnTheNewest) {
    ReplaceFile(path_, Version(0));
    ASSERT_EQ(CheckSource(path_), "none");
    Writer writer;
    writer.path = path_;
    HANDLE thread = CreateThread(nullptr, 0, WriteVersions, &writer, 0, nullptr);
    int builds = 0, versionsSeen = 0, last = 0;
    for (DWORD started = GetTickCount(); GetTickCount() - started < 4000; ++builds) {
        if (builds % 10 == 0)
            CheckNow();
        int version = WholeVersionShown(Popup());
        ASSERT_GT(version, -1) << "build " << builds;
        EXPECT_NE(version, -2) << "build " << builds << ": never part of a version";
        if (version != last)
            ++versionsSeen;
        last = version;
    }
    writer.stop = true;
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    EXPECT_GT(versionsSeen, 1);
    int newest = writer.written;
    CheckSource(path_);
    EXPECT_EQ(WholeVersionShown(Popup()), newest) << "the newest at the next check";
}

} // namespace
