// The reader thread's life: QPCStartUp starts it and its first read, builds
// find the store read, QPCCleanUp ends it, and a host that unloads the
// plug-in without QPCCleanUp while the thread reads loses nothing: the thread
// keeps the plug-in mapped until it has left. Loaded by the test itself, so
// that the unloads are real.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>
#include <tlhelp32.h>

#include "common/menu_store_rules.h"
#include "common/proc_cast.h"
#include "store_reset.h"
#include "tests/plugin/plugin_harness.h"

#if __has_include("process_handles.h")
#include "process_handles.h"
#define TEVRIX_COUNTS_HANDLES 1
#endif

namespace {

struct Loaded {
    HMODULE module = nullptr;
    LRESULT(WINAPI* startUp)(LPARAM) = nullptr;
    LRESULT(WINAPI* cleanUp)(void) = nullptr;
    void(WINAPI* sendInitMenu)(LPARAM, HMENU, UINT) = nullptr;
};

Loaded Load() {
    Loaded p;
    p.module = LoadLibraryA("Tevrix.dll");
    if (!p.module)
        return p;
    p.startUp = GetProcAs<decltype(p.startUp)>(p.module, "QPCStartUp");
    p.cleanUp = GetProcAs<decltype(p.cleanUp)>(p.module, "QPCCleanUp");
    p.sendInitMenu = GetProcAs<decltype(p.sendInitMenu)>(p.module, "QPCSendInitMenu");
    return p;
}

int ThreadsOfProcess() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId())
            ++count;
    CloseHandle(snapshot);
    return count;
}

// The count, once it has settled at expected (or after 5 s).
int ThreadsSettledAt(int expected) {
    int count = ThreadsOfProcess();
    for (int tries = 0; tries < 100 && count != expected; ++tries) {
        Sleep(50);
        count = ThreadsOfProcess();
    }
    return count;
}

std::string TextPopupOf(const Loaded& plugin) {
    HMENU menu = CreatePopupMenu();
    plugin.sendInitMenu(0, menu, QPC_MENU_KIND_COMPOSE);
    std::string shown = DescribePluginMenu(TextPopup(menu));
    DestroyMenu(menu);
    return shown;
}

// Holds the store's lock on a thread of its own, so that a read waits.
DWORD WINAPI HoldLock(void* release) {
    HANDLE lock = CreateMutexA(nullptr, FALSE, menu_store::kLockName);
    WaitForSingleObject(lock, 10000);
    WaitForSingleObject(release, 20000);
    ReleaseMutex(lock);
    CloseHandle(lock);
    return 0;
}

TEST(ReaderThread, StartUpStartsItAndCleanUpEndsIt) {
    ResetStore();
    WriteTextEntry("URL", 0, "A", "a");
    int before = ThreadsOfProcess();
    Loaded plugin = Load();
    ASSERT_NE(plugin.module, nullptr);
    EXPECT_EQ(plugin.startUp(0), 1);
    EXPECT_EQ(ThreadsSettledAt(before + 1), before + 1) << "one reader";
    EXPECT_EQ(TextPopupOf(plugin), "A=a");
    plugin.cleanUp();
    EXPECT_EQ(ThreadsOfProcess(), before) << "ended by QPCCleanUp";
    EXPECT_EQ(TextPopupOf(plugin), "A=a") << "a build after it starts the reader again";
    plugin.cleanUp();
    FreeLibrary(plugin.module);
    EXPECT_EQ(GetModuleHandleA("Tevrix.dll"), nullptr);
    ResetStore();
}

TEST(ReaderThread, UnloadedWithoutCleanUpWhileItReads) {
    ResetStore();
    WriteTextEntry("URL", 0, "A", "a");
    int before = ThreadsOfProcess();
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE holder = CreateThread(nullptr, 0, HoldLock, release, 0, nullptr);
    Sleep(200);
    Loaded plugin = Load();
    ASSERT_NE(plugin.module, nullptr);
    plugin.startUp(0); // the reader now waits for the lock, inside its read
    Sleep(200);
    FreeLibrary(plugin.module);
    EXPECT_NE(GetModuleHandleA("Tevrix.dll"), nullptr) << "held by the reader";
    SetEvent(release);
    WaitForSingleObject(holder, 20000);
    CloseHandle(holder);
    CloseHandle(release);
    Sleep(500); // the read ends in the unloaded plug-in's thread
    // Loaded again, the same plug-in goes on with its reader and its read.
    plugin = Load();
    ASSERT_NE(plugin.module, nullptr);
    EXPECT_EQ(TextPopupOf(plugin), "A=a");
    plugin.cleanUp();
    FreeLibrary(plugin.module);
    EXPECT_EQ(GetModuleHandleA("Tevrix.dll"), nullptr) << "no reference left behind";
    EXPECT_EQ(ThreadsSettledAt(before), before);
    ResetStore();
}

// The reader's other work: a team's shared menu from a file, read whole
// (through the editor's reader of the backup file) and joined to the popup
// after a separator ("[]").
TEST(ReaderThread, ReadsTheSharedMenuAndJoinsItToThePopup) {
    ResetStore();
    WriteTextEntry("URL", 0, "A", "a");
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + "reader-team.json";
    const std::string backup = "{\"format\": \"Tevrix menu\", \"version\": 1, \"menu\": ["
                               "{\"title\": \"T\", \"text\": \"line 1\\nline 2\"}]}";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, backup.data(), static_cast<DWORD>(backup.size()), &written, nullptr);
    CloseHandle(file);
    WriteStoreBytes("", "SharedMenu", path);
    Loaded plugin = Load();
    ASSERT_NE(plugin.module, nullptr);
    plugin.startUp(0);
    std::string shown;
    for (int tries = 0; tries < 200 && shown != "A=a|[]|共有{T=line 1\r\nline 2}"; ++tries) {
        Sleep(50);
        shown = TextPopupOf(plugin);
    }
    EXPECT_EQ(shown, "A=a|[]|共有{T=line 1\r\nline 2}");
    plugin.cleanUp();
    FreeLibrary(plugin.module);
    DeleteFileA(path.c_str());
    char local[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local))) {
        DeleteFileA((std::string(local) + "\\Ostrel\\Tevrix\\shared-menu.json").c_str());
        DeleteFileA((std::string(local) + "\\Ostrel\\Tevrix\\shared-menu-state.ini").c_str());
    }
    ResetStore();
}

#ifdef TEVRIX_COUNTS_HANDLES
TEST(ReaderThread, HandlesStayFlatOverAHundredStartsAndCleanUps) {
    ResetStore();
    WriteTextEntry("URL", 0, "A", "a");
    Loaded plugin = Load();
    ASSERT_NE(plugin.module, nullptr);
    plugin.startUp(0);
    EXPECT_EQ(TextPopupOf(plugin), "A=a");
    plugin.cleanUp();
    int before = CountProcessHandles();
    for (int cycle = 0; cycle < 100; ++cycle) {
        plugin.startUp(0);
        TextPopupOf(plugin);
        plugin.cleanUp();
    }
    EXPECT_LE(CountProcessHandles(), before + 2) << "over 100 cycles";
    FreeLibrary(plugin.module);
    ResetStore();
}
#endif

} // namespace
