// The plug-in keeps the menu it read between builds: every kind of change
// made to the store between two builds, by this process or another, through
// the editor or behind its back, is seen by the second build, and a build of
// an unchanged store walks no key.
#include <gtest/gtest.h>

#include "import_patch.h"
#include "menu_store_io.h"
#include "saver_menus.h"
#include "saver_process.h"
#include "store_reset.h"
#include "tests/plugin/plugin_harness.h"

#include <functional>
#include <string>

namespace {

const char kRoot[] = "Software\\Ostrel\\Tevrix";

// The host menu's item count and the text popup described.
std::string PluginView() {
    HMENU menu = BuildComposeMenu();
    std::string view =
        std::to_string(GetMenuItemCount(menu)) + ":" + DescribePluginMenu(TextPopup(menu));
    DestroyMenu(menu);
    return view;
}

// Tevrix.dll's listings of keys, counted.
decltype(&RegEnumKeyExA) g_enumKey;
int g_listings;
LONG WINAPI CountedEnumKey(HKEY key, DWORD index, LPSTR name, LPDWORD length, LPDWORD reserved,
                           LPSTR className, LPDWORD classLength, PFILETIME written) {
    ++g_listings;
    return g_enumKey(key, index, name, length, reserved, className, classLength, written);
}

void RunProgram(std::string command) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process));
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0) << command;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

void Rename(const char* from, const char* to) {
    HKEY root = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kRoot, 0, KEY_ALL_ACCESS, &root), ERROR_SUCCESS);
    std::wstring wideFrom(from, from + strlen(from)), wideTo(to, to + strlen(to));
    EXPECT_EQ(RegRenameKey(root, wideFrom.c_str(), wideTo.c_str()), ERROR_SUCCESS);
    RegCloseKey(root);
}

void DeleteStoreKey(const std::string& path) {
    RegDeleteTreeA(HKEY_CURRENT_USER, (std::string(kRoot) + "\\" + path).c_str());
}

struct Change {
    const char* what;
    std::function<void()> make;
    const char* shown; // "<host items>:<text popup>"
};

TEST(StoreChange, EachChangeBetweenTwoBuildsIsSeenByTheSecond) {
    ImportPatch enumPatch(Plugin().module, "advapi32.dll", "RegEnumKeyExA",
                          reinterpret_cast<void*>(CountedEnumKey));
    ASSERT_TRUE(enumPatch.Patched());
    g_enumKey = reinterpret_cast<decltype(g_enumKey)>(enumPatch.Original());
    ResetStore();
    WriteStoreMenu({TextEntry("A", "a"), Submenu("S", {TextEntry("B", "b")})});
    const std::string saverA = "4:" + DescribeEntries(SaverMenu('A'));
    const std::string saverB = "4:" + DescribeEntries(SaverMenu('B'));
    const std::string withAddress = "5:" + DescribeEntries(SaverMenu('A'));
    const Change changes[] = {
        {"a title written in place", [] { WriteStoreString("URL\\URL0", nullptr, "A2"); },
         "4:A2=a|S{B=b}"},
        {"a text written by a registry tool of another process",
         [] {
             RunProgram("reg.exe add HKCU\\Software\\Ostrel\\Tevrix\\URL\\URL1\\URL0 /v URL /d b2 "
                        "/f");
         },
         "4:A2=a|S{B=b2}"},
        {"an entry added", [] { WriteTextEntry("URL\\URL1", 1, "C", "c"); }, "4:A2=a|S{B=b2|C=c}"},
        {"an entry deleted", [] { DeleteStoreKey("URL\\URL0"); }, "4:S{B=b2|C=c}"},
        {"the editor's save in this process", [] { CMenuStore().Save(SaverMenu('B')); },
         saverB.c_str()},
        {"a save of another process",
         [] {
             SaverProcess saver('A', 1);
             ASSERT_TRUE(saver.Running());
             EXPECT_EQ(saver.Wait(), 0);
         },
         saverA.c_str()},
        {"the address popup switched on", [] { WriteStoreNumber("", "UseAddress", 1); },
         withAddress.c_str()},
        {"the whole store deleted", [] { ResetStore(); }, "4:"},
        {"the store deleted and made again",
         [] {
             ResetStore();
             WriteStoreMenu({TextEntry("N", "n")});
         },
         "4:N=n"},
        // A copy kept in a registry editor: the renamed key's handle still
        // answers, and no notification below it fires.
        {"the company key renamed and a store written at its name",
         [] {
             HKEY software = nullptr;
             ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_ALL_ACCESS, &software),
                       ERROR_SUCCESS);
             EXPECT_EQ(RegRenameKey(software, L"Ostrel", L"KeptOstrel"), ERROR_SUCCESS);
             RegCloseKey(software);
             WriteStoreMenu({TextEntry("K", "k")});
         },
         "4:K=k"},
        {"the menu replaced by a copy, as a restore does",
         [] {
             HKEY copy = nullptr, menu = nullptr;
             RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\OstrelCopy\\URL0", 0, nullptr, 0,
                             KEY_ALL_ACCESS, nullptr, &copy, nullptr);
             RegSetValueExA(copy, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("R"), 1);
             RegSetValueExA(copy, "URL", 0, REG_SZ, reinterpret_cast<const BYTE*>("r"), 1);
             RegCloseKey(copy);
             DeleteStoreKey("URL");
             RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Ostrel\\Tevrix\\URL", 0, nullptr, 0,
                             KEY_ALL_ACCESS, nullptr, &menu, nullptr);
             RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\OstrelCopy", 0, KEY_READ, &copy);
             EXPECT_EQ(RegCopyTreeA(copy, nullptr, menu), ERROR_SUCCESS);
             RegCloseKey(copy);
             RegCloseKey(menu);
             RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\OstrelCopy");
         },
         "4:R=r"},
        // A save by hand, step by step: the old menu until the second rename.
        {"a new menu staged", [] { WriteStoreMenu({TextEntry("New", "new")}, "URL.New"); },
         "4:R=r"},
        {"the menu renamed to the retired key",
         [] {
             WriteStoreString("URL\\URL0", nullptr, "Old");
             Rename("URL", "URL.Old");
         },
         "4:Old=r"},
        {"the staged menu renamed into place", [] { Rename("URL.New", "URL"); }, "4:New=new"},
        {"the new menu deleted and the retired one taken back",
         [] {
             DeleteStoreKey("URL");
             Rename("URL.Old", "URL");
         },
         "4:Old=r"},
    };
    EXPECT_EQ(PluginView(), "4:A=a|S{B=b}");
    for (const Change& change : changes) {
        SCOPED_TRACE(change.what);
        EXPECT_EQ(PluginView(), PluginView()) << "kept";
        change.make();
        EXPECT_EQ(PluginView(), change.shown);
        g_listings = 0;
        EXPECT_EQ(PluginView(), change.shown);
        EXPECT_EQ(g_listings, 0) << "the unchanged store is not walked again";
    }
    Plugin().CleanUp();
    g_listings = 0;
    EXPECT_EQ(PluginView(), "4:Old=r") << "read afresh after QPCCleanUp";
    EXPECT_GT(g_listings, 0);
    Plugin().CleanUp();
    ResetStore();
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\KeptOstrel");
}

// A store deleted by another program between the reader's steps: the key
// that reader opened is gone before it opens the next one below it.
decltype(&RegOpenKeyExA) g_openKey;
decltype(&RegCreateKeyExA) g_createKey;
const char* g_deleteBefore; // the key whose opening a deletion comes before
int g_deletionsLeft;

void DeleteTheStoreBefore(const char* name) {
    if (g_deletionsLeft > 0 && name && lstrcmpiA(name, g_deleteBefore) == 0) {
        --g_deletionsLeft;
        ResetStore();
    }
}

LONG WINAPI OpenKeyAfterDeletion(HKEY key, LPCSTR name, DWORD options, REGSAM access,
                                 PHKEY result) {
    DeleteTheStoreBefore(name);
    return g_openKey(key, name, options, access, result);
}

LONG WINAPI CreateKeyAfterDeletion(HKEY key, LPCSTR name, DWORD reserved, LPSTR className,
                                   DWORD options, REGSAM access, LPSECURITY_ATTRIBUTES security,
                                   PHKEY result, LPDWORD disposition) {
    DeleteTheStoreBefore(name);
    return g_createKey(key, name, reserved, className, options, access, security, result,
                       disposition);
}

// Such a read is no answer: the build shows the store as it is after the
// deletion (a new, empty menu), never the grayed item of a store that cannot
// be reached.
TEST(StoreChange, AStoreDeletedWhileTheReaderOpensItIsReadAgain) {
    ImportPatch openPatch(Plugin().module, "advapi32.dll", "RegOpenKeyExA",
                          reinterpret_cast<void*>(OpenKeyAfterDeletion));
    ImportPatch createPatch(Plugin().module, "advapi32.dll", "RegCreateKeyExA",
                            reinterpret_cast<void*>(CreateKeyAfterDeletion));
    ASSERT_TRUE(openPatch.Patched() && createPatch.Patched());
    g_openKey = reinterpret_cast<decltype(g_openKey)>(openPatch.Original());
    g_createKey = reinterpret_cast<decltype(g_createKey)>(createPatch.Original());
    const struct {
        const char* before;
        int times;
    } deletions[] = {
        {"Tevrix", 1}, // the company key opened, then the store key
        {"URL", 1},    // the store key opened, then its menu
        {"URL", 3},    // a deletion still going on at the next reads
    };
    for (const auto& deletion : deletions) {
        SCOPED_TRACE(std::string(deletion.before) + " " + std::to_string(deletion.times));
        ResetStore();
        WriteStoreMenu({TextEntry("A", "a")});
        ASSERT_EQ(PluginView(), "4:A=a");
        g_deleteBefore = deletion.before;
        g_deletionsLeft = deletion.times;
        WriteStoreString("URL\\URL0", nullptr, "A1");
        EXPECT_EQ(PluginView(), "4:");
        EXPECT_EQ(g_deletionsLeft, 0) << "the deletions came during reads";
    }
    g_deletionsLeft = 0;
    Plugin().CleanUp();
    ResetStore();
}

// The reader's next listing waits until it is let go; the program's own
// thread is never held.
DWORD g_programThread;
bool g_holdNextListing;
HANDLE g_readerInWalk, g_letReaderGo;
LONG WINAPI HeldEnumKey(HKEY key, DWORD index, LPSTR name, LPDWORD length, LPDWORD reserved,
                        LPSTR className, LPDWORD classLength, PFILETIME written) {
    if (g_holdNextListing && GetCurrentThreadId() != g_programThread) {
        g_holdNextListing = false;
        SetEvent(g_readerInWalk);
        WaitForSingleObject(g_letReaderGo, 10000);
    }
    return g_enumKey(key, index, name, length, reserved, className, classLength, written);
}

DWORD WINAPI LetReaderGoSoon(void*) {
    Sleep(300);
    SetEvent(g_letReaderGo);
    return 0;
}

// A build that comes while the reader is inside its walk waits for that walk
// (the change that started it came before the build) and, when a change came
// during the walk, for the read after it.
TEST(StoreChange, AChangeIsSeenByTheNextBuildWhileTheReaderIsStillReading) {
    ResetStore();
    WriteStoreMenu({TextEntry("A", "a")});
    ASSERT_EQ(PluginView(), "4:A=a");
    ImportPatch enumPatch(Plugin().module, "advapi32.dll", "RegEnumKeyExA",
                          reinterpret_cast<void*>(HeldEnumKey));
    ASSERT_TRUE(enumPatch.Patched());
    g_enumKey = reinterpret_cast<decltype(g_enumKey)>(enumPatch.Original());
    g_programThread = GetCurrentThreadId();
    g_readerInWalk = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    g_letReaderGo = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    for (bool changedInWalk : {false, true}) {
        SCOPED_TRACE(changedInWalk ? "a second change during the walk" : "one change");
        g_holdNextListing = true;
        WriteStoreString("URL\\URL0", nullptr, changedInWalk ? "B1" : "A1");
        ASSERT_EQ(WaitForSingleObject(g_readerInWalk, 10000), WAIT_OBJECT_0)
            << "the reader read at the notification";
        if (changedInWalk)
            WriteStoreString("URL\\URL0", nullptr, "B2");
        HANDLE letGo = CreateThread(nullptr, 0, LetReaderGoSoon, nullptr, 0, nullptr);
        EXPECT_EQ(PluginView(), changedInWalk ? "4:B2=a" : "4:A1=a");
        WaitForSingleObject(letGo, 10000);
        CloseHandle(letGo);
    }
    g_holdNextListing = false;
    CloseHandle(g_readerInWalk);
    CloseHandle(g_letReaderGo);
    Plugin().CleanUp();
    ResetStore();
}

} // namespace
