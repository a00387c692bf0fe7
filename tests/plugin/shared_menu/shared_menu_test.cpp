// A team's shared menu read from a path: it joins the popup after the user's
// own entries, whole or not at all, from the local copy at the first menu
// after start-up, and a source that does not answer, goes away mid-read or is
// replaced while it is read costs the build nothing and never shows half a
// menu. The source is checked at once after any change of the store; the
// tests write a value of their own there to have it checked now rather than
// at its time (every 30 s or more). (Wine notifies no change when a value is
// written again unchanged.)
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "common/rename_replacing.h"
#include "held_file.h"
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

// As the editor writes it: a temporary file beside it, then one replace,
// which waits out a check that has the file open.
bool ReplaceFile(const std::string& path, const std::string& bytes) {
    std::string temporary = path + ".tmp";
    WriteFileBytes(temporary, bytes);
    return RenameReplacingA(temporary.c_str(), path.c_str(), 5000);
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
    // A newer menu, read while the editor's page has the copy open: the copy
    // is replaced as soon as the page lets go of it.
    ASSERT_TRUE(ReplaceFile(path_, Backup({{"Z", "z"}})));
    {
        HeldFile byTheEditor(LocalFolder() + L"shared-menu.json", 500);
        ASSERT_TRUE(byTheEditor.Opened());
        EXPECT_EQ(CheckSource(path_), "none");
    }
    Plugin().CleanUp();
    DeleteFileA(path_.c_str()); // offline
    Plugin().StartUp(0);
    EXPECT_EQ(Popup(), "A|S{B}|-|共有{Z}");
    for (int waited = 0; StateKey(L"Problem") != "not-found" && waited < 10000; waited += 20)
        Sleep(20);
    EXPECT_EQ(StateKey(L"Problem"), "not-found");
    EXPECT_EQ(Popup(), "A|S{B}|-|共有{Z}");
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
    // Two instances: a check made while the first one holds the reader (a
    // store change checks at once) meets the same silence.
    HANDLE pipes[2];
    OVERLAPPED connecting[2] = {};
    for (int i = 0; i < 2; ++i) {
        pipes[i] = CreateNamedPipeA(server->name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED,
                                    PIPE_TYPE_BYTE | PIPE_WAIT, 2, 1 << 16, 1 << 16, 0, nullptr);
        connecting[i].hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        ConnectNamedPipe(pipes[i], &connecting[i]);
    }
    HANDLE first[2] = {connecting[0].hEvent, server->stop};
    WaitForMultipleObjects(2, first, FALSE, 30000);
    SetEvent(server->connected);
    if (!server->bytes.empty()) {
        OVERLAPPED writing = {};
        writing.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        WriteFile(pipes[0], server->bytes.data(), static_cast<DWORD>(server->bytes.size()), nullptr,
                  &writing);
        WaitForSingleObject(writing.hEvent, 5000);
        CloseHandle(writing.hEvent);
    }
    if (server->silent)
        WaitForSingleObject(server->stop, 60000);
    else
        Sleep(200);
    for (int i = 0; i < 2; ++i) {
        CancelIo(pipes[i]);
        DisconnectNamedPipe(pipes[i]);
        CloseHandle(pipes[i]);
        CloseHandle(connecting[i].hEvent);
    }
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
        // A change of the store while the reader waits for the silent source:
        // the next build shows it, without waiting for the source. (A change
        // checks the source at once: the silent pipe takes that check too.)
        const std::string own = "A2|S{B}";
        if (c.silent) {
            WriteStoreBytes("URL\\URL0", nullptr, "A2");
            DWORD changedMs = 0;
            EXPECT_EQ(Popup(&changedMs), own);
            EXPECT_LT(changedMs, 1000u) << "the build read the store itself";
        }
        std::vector<DWORD> took;
        for (DWORD waited = 0; StateKey(L"LastCheck").empty() && waited < c.waitMs;) {
            DWORD ms = 0;
            // The pipe has no copy of its own: the popup is the user's own.
            EXPECT_EQ(Popup(&ms), own);
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
    EXPECT_EQ(Popup(), "A2|S{B}|-|共有{X|T{Y}}");
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
    std::atomic<int> failed{0}; // the version not written, 0 when none
};

DWORD WINAPI WriteVersions(void* parameter) {
    Writer* writer = static_cast<Writer*>(parameter);
    for (int n = 1; !writer->stop; ++n) {
        std::string bytes = Version(n);
        if (n % 3 == 0) {
            // Written in place, in two halves: a reader may find the first.
            HANDLE file = CreateFileA(writer->path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_ALWAYS, 0, nullptr);
            if (file == INVALID_HANDLE_VALUE) {
                writer->failed = n;
                return 0;
            }
            DWORD done = 0;
            WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size() / 2), &done, nullptr);
            Sleep(15);
            WriteFile(file, bytes.data() + bytes.size() / 2,
                      static_cast<DWORD>(bytes.size() - bytes.size() / 2), &done, nullptr);
            CloseHandle(file);
        } else if (!ReplaceFile(writer->path, bytes)) {
            writer->failed = n;
            return 0;
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
    ASSERT_EQ(writer.failed, 0) << "a version the writer could not put in place";
    EXPECT_GT(versionsSeen, 1);
    int newest = writer.written;
    // A check under way when the writer stopped may answer the first call;
    // the second is a check that started after the last write.
    CheckSource(path_);
    CheckSource(path_);
    EXPECT_EQ(WholeVersionShown(Popup()), newest) << "the newest at the next check";
}

// A web server on the loopback, started by the test and ended with it (or
// after a minute): each connection gets the answer the test has set.
enum class Answer { kBody, kNotFound, kSilent, kHuge, kCutShort };

struct WebServer {
    SOCKET listener = INVALID_SOCKET;
    int port = 0;
    HANDLE thread = nullptr;
    HANDLE stop = nullptr;
    std::atomic<Answer> answer{Answer::kBody};
    std::string body, etag; // of kBody
    std::vector<std::string> requests;
    CRITICAL_SECTION guard;
};

std::string ReadRequest(SOCKET client) {
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos) {
        int got = recv(client, buffer, sizeof buffer, 0);
        if (got <= 0)
            break;
        request.append(buffer, got);
    }
    return request;
}

void SendAll(SOCKET client, const std::string& bytes) {
    send(client, bytes.data(), static_cast<int>(bytes.size()), 0);
}

DWORD WINAPI Serve(void* parameter) {
    WebServer* server = static_cast<WebServer*>(parameter);
    for (DWORD started = GetTickCount(); GetTickCount() - started < 60000;) {
        if (WaitForSingleObject(server->stop, 0) == WAIT_OBJECT_0)
            break;
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(server->listener, &ready);
        timeval tick = {0, 100000};
        if (select(0, &ready, nullptr, nullptr, &tick) <= 0)
            continue;
        SOCKET client = accept(server->listener, nullptr, nullptr);
        if (client == INVALID_SOCKET)
            continue;
        std::string request = ReadRequest(client);
        EnterCriticalSection(&server->guard);
        server->requests.push_back(request);
        std::string body = server->body, etag = server->etag;
        LeaveCriticalSection(&server->guard);
        const std::string close = "Connection: close\r\n\r\n";
        switch (server->answer.load()) {
        case Answer::kBody:
            if (request.find("If-None-Match: " + etag) != std::string::npos)
                SendAll(client, "HTTP/1.1 304 Not Modified\r\nETag: " + etag + "\r\n" + close);
            else
                SendAll(client,
                        "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) +
                            "\r\nETag: " + etag + "\r\n" + close + body);
            break;
        case Answer::kNotFound:
            SendAll(client, "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n" + close);
            break;
        case Answer::kSilent:
            WaitForSingleObject(server->stop, 30000);
            break;
        case Answer::kHuge:
            SendAll(client, "HTTP/1.1 200 OK\r\nContent-Length: 67108865\r\n" + close + body);
            break;
        case Answer::kCutShort:
            SendAll(client, "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) +
                                "\r\n" + close + body.substr(0, body.size() / 2));
            break;
        }
        shutdown(client, SD_BOTH);
        closesocket(client);
    }
    return 0;
}

class SharedAddress : public SharedMenu {
  protected:
    void SetUp() override {
        SharedMenu::SetUp();
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        InitializeCriticalSection(&server_.guard);
        server_.listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(bind(server_.listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        int length = sizeof address;
        getsockname(server_.listener, reinterpret_cast<sockaddr*>(&address), &length);
        server_.port = ntohs(address.sin_port);
        listen(server_.listener, 4);
        server_.stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        server_.thread = CreateThread(nullptr, 0, Serve, &server_, 0, nullptr);
    }
    void TearDown() override {
        SetEvent(server_.stop);
        WaitForSingleObject(server_.thread, 70000);
        CloseHandle(server_.thread);
        CloseHandle(server_.stop);
        closesocket(server_.listener);
        DeleteCriticalSection(&server_.guard);
        WSACleanup();
        SharedMenu::TearDown();
    }
    void Publish(const std::string& body, const std::string& etag) {
        EnterCriticalSection(&server_.guard);
        server_.body = body;
        server_.etag = etag;
        LeaveCriticalSection(&server_.guard);
        server_.answer = Answer::kBody;
    }
    std::string LastRequest() {
        EnterCriticalSection(&server_.guard);
        std::string last = server_.requests.empty() ? "" : server_.requests.back();
        LeaveCriticalSection(&server_.guard);
        return last;
    }
    std::string Address() {
        return "http://127.0.0.1:" + std::to_string(server_.port) + "/team.json";
    }
    WebServer server_;
};

TEST_F(SharedAddress, FetchedWithAConditionalGetWholeOrNotAtAll) {
    Publish(kGood, "\"v1\"");
    EXPECT_EQ(CheckSource(Address()), "none") << "the first GET";
    EXPECT_EQ(LastRequest().find("If-None-Match"), std::string::npos);
    EXPECT_EQ(Popup(), kGoodShown);
    EXPECT_EQ(StateKey(L"ETag"), "\"v1\"");
    EXPECT_EQ(StateKey(L"HttpStatus"), "200");
    EXPECT_EQ(CheckSource(Address()), "none") << "unchanged";
    EXPECT_NE(LastRequest().find("If-None-Match: \"v1\""), std::string::npos) << LastRequest();
    EXPECT_EQ(StateKey(L"HttpStatus"), "304");
    Publish(Backup({{"Z", "z"}}), "\"v2\"");
    EXPECT_EQ(CheckSource(Address()), "none") << "a changed file";
    const std::string changed = "A|S{B}|-|共有{Z}";
    EXPECT_EQ(Popup(), changed);
    struct Case {
        const char* what;
        Answer answer;
        const char* problem;
    } cases[] = {
        {"gone", Answer::kNotFound, "not-found"},
        {"over the limit", Answer::kHuge, "too-large"},
        {"cut short", Answer::kCutShort, "incomplete"},
        {"no answer in time", Answer::kSilent, "timeout"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        server_.answer = c.answer;
        DWORD took = 0;
        if (c.answer == Answer::kSilent) {
            // Builds while the reader waits for the server cost nothing.
            WriteStoreNumber("", "TestCheckNow", 12345);
            Sleep(500);
            EXPECT_EQ(Popup(&took), changed);
            EXPECT_LT(took, 1000u);
        }
        EXPECT_EQ(CheckSource(Address(), 40000), c.problem);
        EXPECT_EQ(Popup(), changed) << "the last good copy";
    }
    EXPECT_EQ(CheckSource("http://example.invalid/team.json"), "insecure")
        << "plain http away from this computer";
}

} // namespace
