// Reads that cannot be whole. A save that keeps the lock past a reader's wait
// and renames the menu while the reader, without the lock, walks it: made to
// happen at one chosen moment with the editor's write filter (holding the
// save's first rename) and a listing of the reader's that waits for the save
// to end. And a page load whose tree refuses an item. Every reader ends with
// the old menu, the new one, or a refusal; never with part of a menu, and the
// page never writes one.
#include <gtest/gtest.h>

#include "common/menu_store_rules.h"
#include "import_patch.h"
#include "menu_description.h"
#include "menu_page_driver.h"
#include "modal_closer.h"
#include "settings/sheet/setting_sheet.h"
#include "settings/store/registry_writes.h"
#include "store_reset.h"
#include "tests/plugin/plugin_harness.h"

#include <functional>

namespace {

const char kRefused[] = "(refused)";
const char kLoadBusy[] =
    "保存中のメニューを読み込めませんでした。このページの内容は保存されません。";
const char kLoadIncomplete[] =
    "メニューをすべて読み込めませんでした。このページの内容は保存されません。";

const std::vector<StoreEntry> kOld = {TextEntry("A", "a"),
                                      Submenu("S", {TextEntry("B", "b"), TextEntry("C", "c")}),
                                      TextEntry("D", "d"), TextEntry("E", "e")};
const std::vector<StoreEntry> kNew = {Submenu("T", {TextEntry("F", "f")}), TextEntry("G", "g")};

std::vector<CMenuEntry> ToMenuEntries(const std::vector<StoreEntry>& entries) {
    std::vector<CMenuEntry> menu;
    for (const StoreEntry& entry : entries) {
        CMenuEntry converted;
        converted.title = entry.title;
        converted.isText = entry.type != 1;
        converted.text = entry.text;
        converted.children = ToMenuEntries(entry.children);
        menu.push_back(converted);
    }
    return menu;
}

std::string Describe(const std::vector<CMenuEntry>& entries) {
    std::string description;
    for (const CMenuEntry& entry : entries) {
        if (!description.empty())
            description += "|";
        description += entry.isText ? entry.title + "=" + entry.text
                                    : entry.title + "{" + Describe(entry.children) + "}";
    }
    return description;
}

std::string PluginMenu() {
    HMENU menu = BuildComposeMenu();
    std::string description = DescribePluginMenu(TextPopup(menu));
    DestroyMenu(menu);
    return description == "[無し]" ? kRefused : description;
}

std::string EditorLoad() {
    std::vector<CMenuEntry> entries;
    return CMenuStore().Load(entries) ? Describe(entries) : kRefused;
}

// The reader's listings of keys go through here; the one chosen waits, or
// writes into the store (as a tool that ignores the lock would), first.
struct ReaderHold {
    DWORD saverThread = 0; // the save's own listings are never held

    int holdAtListing = 0; // 0: none
    bool writeAtEachListing = false;
    HANDLE midWalk = nullptr;   // set by the held listing
    HANDLE saveEnded = nullptr; // the held listing waits for it
};
ReaderHold g_hold;
decltype(&RegEnumKeyExA) g_enumKey;

LONG WINAPI HeldEnumKey(HKEY key, DWORD index, LPSTR name, LPDWORD length, LPDWORD reserved,
                        LPSTR className, LPDWORD classLength, PFILETIME written) {
    // The plug-in reads on a thread of its own, the editor on the program's.
    if (GetCurrentThreadId() != g_hold.saverThread) {
        if (g_hold.holdAtListing > 0 && --g_hold.holdAtListing == 0) {
            SetEvent(g_hold.midWalk);
            WaitForSingleObject(g_hold.saveEnded, 60000);
        }
        if (g_hold.writeAtEachListing)
            WriteStoreNumber("", "Disturbed", index);
    }
    return g_enumKey(key, index, name, length, reserved, className, classLength, written);
}

// The save's first rename waits until the reader is inside its walk.
bool g_renameHeld;
HANDLE g_saveHoldsLock;
LONG HoldFirstRename(RegistryWrite write) {
    if (write == RegistryWrite::kRenameKey && !g_renameHeld) {
        g_renameHeld = true;
        SetEvent(g_saveHoldsLock);
        WaitForSingleObject(g_hold.midWalk, 60000);
    }
    return ERROR_SUCCESS;
}

DWORD WINAPI SaveNewMenu(void*) {
    g_hold.saverThread = GetCurrentThreadId();
    CMenuStore().Save(ToMenuEntries(kNew));
    SetEvent(g_hold.saveEnded);
    return 0;
}

// Holds the store's lock on a thread of its own until released.
class LockHolder {
  public:
    LockHolder() {
        held_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        release_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, Hold, this, 0, nullptr);
        WaitForSingleObject(held_, 10000);
    }
    ~LockHolder() {
        SetEvent(release_);
        WaitForSingleObject(thread_, 10000);
        CloseHandle(thread_);
        CloseHandle(held_);
        CloseHandle(release_);
    }

  private:
    static DWORD WINAPI Hold(void* self) {
        LockHolder* holder = static_cast<LockHolder*>(self);
        HANDLE lock = CreateMutexA(nullptr, FALSE, menu_store::kLockName);
        WaitForSingleObject(lock, 10000);
        SetEvent(holder->held_);
        WaitForSingleObject(holder->release_, 60000);
        ReleaseMutex(lock);
        CloseHandle(lock);
        return 0;
    }
    HANDLE held_, release_, thread_;
};

class LockRace : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(Plugin().module, nullptr);
        ResetStore();
        WriteStoreMenu(kOld);
        old_ = DescribeMenu(kOld);
        new_ = DescribeMenu(kNew);
        g_hold = {};
        g_hold.midWalk = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        g_hold.saveEnded = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        g_saveHoldsLock = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        g_renameHeld = false;
    }
    void TearDown() override {
        SetRegistryWriteFilter(nullptr);
        if (saver_) {
            SetEvent(g_hold.midWalk);
            WaitForSingleObject(saver_, 60000);
            CloseHandle(saver_);
        }
        CloseHandle(g_hold.midWalk);
        CloseHandle(g_hold.saveEnded);
        CloseHandle(g_saveHoldsLock);
        g_hold = {};
        Plugin().CleanUp();
        ResetStore();
    }
    // Starts the save of kNew on its own thread and returns once it holds
    // the lock and has staged the new menu, about to rename; the reader's
    // listing number `listing` will wait for it.
    void StartSave(int listing) {
        g_hold.holdAtListing = listing;
        SetRegistryWriteFilter(HoldFirstRename);
        saver_ = CreateThread(nullptr, 0, SaveNewMenu, nullptr, 0, nullptr);
        ASSERT_EQ(WaitForSingleObject(g_saveHoldsLock, 30000), WAIT_OBJECT_0);
    }
    std::string old_, new_;
    HANDLE saver_ = nullptr;
};

struct Reader {
    const char* what;
    bool plugin;    // Tevrix.dll reads, else the editor's classes in this program
    bool keptFirst; // the plug-in built once before: it keeps the old menu
    std::function<std::string()> read;
};

TEST_F(LockRace, AReaderWhoseMenuIsRenamedMidWalkEndsWholeOrRefuses) {
    const Reader readers[] = {
        {"the plug-in's first build", true, false, PluginMenu},
        {"the plug-in's build, the old menu kept", true, true, PluginMenu},
        {"the editor's load", false, false, EditorLoad},
    };
    for (const Reader& reader : readers) {
        SCOPED_TRACE(reader.what);
        HMODULE module = reader.plugin ? Plugin().module : GetModuleHandleA(nullptr);
        ImportPatch enumPatch(module, "advapi32.dll", "RegEnumKeyExA",
                              reinterpret_cast<void*>(HeldEnumKey));
        ASSERT_TRUE(enumPatch.Patched());
        g_enumKey = reinterpret_cast<decltype(g_enumKey)>(enumPatch.Original());
        if (reader.keptFirst) {
            ASSERT_EQ(PluginMenu(), old_);
        }
        StartSave(3);
        std::string shown = reader.read();
        EXPECT_EQ(WaitForSingleObject(g_hold.midWalk, 0), WAIT_OBJECT_0) << "the race was run";
        EXPECT_TRUE(shown == old_ || shown == new_ || shown == kRefused) << shown;
        if (!reader.keptFirst) {
            EXPECT_EQ(shown, new_) << "read again once the save let go of the lock";
        }
        EXPECT_EQ(PluginMenu(), new_) << "the next build";
        TearDown();
        SetUp();
    }
}

// Runs the editor's sheet (whose menu page loads as it opens); step runs at
// each tick with the sheet or with a message box over it, until it answers
// true. The message boxes' texts are collected.
bool WithSheet(const std::function<bool(HWND sheet)>& step, std::vector<std::string>* boxes) {
    bool done = false;
    ModalCloser closer(
        [&] {
            HWND window = FindThreadWindow("#32770");
            if (!window || done)
                return;
            if (!FindWindowExA(window, nullptr, "SysTabControl32", nullptr)) {
                char text[1024] = "", caption[64] = "";
                GetWindowTextA(GetDlgItem(window, 0xFFFF), text, sizeof text);
                GetWindowTextA(window, caption, sizeof caption);
                boxes->push_back(std::string(caption) + ": " + text);
                SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                return;
            }
            done = step(window);
        },
        50, 120000);
    {
        CSettingSheet sheet(nullptr);
        sheet.DoModal();
    }
    return done && !closer.TimedOut();
}

TEST_F(LockRace, ThePageLoadedMidSaveAndOkKeepsTheNewMenu) {
    ImportPatch enumPatch(GetModuleHandleA(nullptr), "advapi32.dll", "RegEnumKeyExA",
                          reinterpret_cast<void*>(HeldEnumKey));
    ASSERT_TRUE(enumPatch.Patched());
    g_enumKey = reinterpret_cast<decltype(g_enumKey)>(enumPatch.Original());
    StartSave(3);
    std::vector<std::string> boxes;
    std::string loaded;
    ASSERT_TRUE(WithSheet(
        [&](HWND sheet) {
            loaded = DescribeMenu(sheet);
            PressSheetButton(sheet, PSBTN_OK);
            return true;
        },
        &boxes));
    EXPECT_EQ(WaitForSingleObject(g_hold.midWalk, 0), WAIT_OBJECT_0) << "the race was run";
    EXPECT_EQ(loaded, new_);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(PluginMenu(), new_) << "OK wrote what the page loaded whole";
}

TEST_F(LockRace, WhenEveryReadIsDisturbedThePageRefusesToSaveAndThePluginKeepsItsMenu) {
    ASSERT_EQ(PluginMenu(), old_);
    ImportPatch pagePatch(GetModuleHandleA(nullptr), "advapi32.dll", "RegEnumKeyExA",
                          reinterpret_cast<void*>(HeldEnumKey));
    ImportPatch pluginPatch(Plugin().module, "advapi32.dll", "RegEnumKeyExA",
                            reinterpret_cast<void*>(HeldEnumKey));
    ASSERT_TRUE(pagePatch.Patched() && pluginPatch.Patched());
    g_enumKey = reinterpret_cast<decltype(g_enumKey)>(pagePatch.Original());
    g_hold.writeAtEachListing = true;
    std::vector<std::string> boxes;
    {
        LockHolder held;
        WriteStoreNumber("", "Changed", 1);
        EXPECT_EQ(PluginMenu(), old_) << "the last menu read whole";
        ASSERT_TRUE(WithSheet(
            [&](HWND sheet) {
                EXPECT_EQ(TreeView_GetCount(MenuTree(sheet)), 0u) << "no part of a menu";
                EXPECT_FALSE(ControlEnabled(sheet, kAddEntryId));
                PressSheetButton(sheet, PSBTN_APPLYNOW);
                PressSheetButton(sheet, PSBTN_OK);
                return true;
            },
            &boxes));
    }
    g_hold.writeAtEachListing = false;
    EXPECT_EQ(boxes, std::vector<std::string>{std::string("Tevrix: ") + kLoadBusy}) << "told once";
    std::vector<StoreEntry> stored;
    ASSERT_TRUE(ReadStoreMenu(&stored));
    EXPECT_EQ(DescribeMenu(stored), old_) << "OK and Apply wrote nothing";
    Plugin().CleanUp();
    {
        LockHolder held;
        g_hold.writeAtEachListing = true;
        EXPECT_EQ(PluginMenu(), kRefused) << "nothing read whole: the grayed item";
        g_hold.writeAtEachListing = false;
    }
    EXPECT_EQ(PluginMenu(), old_);
}

// The switches come with the menu they were read with: a read that is not
// used changes none of them.
TEST_F(LockRace, ASwitchWrittenDuringDisturbedReadsWaitsForAWholeOne) {
    ASSERT_EQ(PluginMenu(), old_);
    auto itemsAppended = [] {
        HMENU menu = BuildComposeMenu(2);
        int items = GetMenuItemCount(menu) - 2;
        DestroyMenu(menu);
        return items;
    };
    ASSERT_EQ(itemsAppended(), 2);
    ImportPatch pluginPatch(Plugin().module, "advapi32.dll", "RegEnumKeyExA",
                            reinterpret_cast<void*>(HeldEnumKey));
    ASSERT_TRUE(pluginPatch.Patched());
    g_enumKey = reinterpret_cast<decltype(g_enumKey)>(pluginPatch.Original());
    {
        LockHolder held;
        g_hold.writeAtEachListing = true;
        WriteStoreNumber("", "UseAddress", 1);
        EXPECT_EQ(itemsAppended(), 2) << "the kept menu's switch, not the disturbed read's";
        g_hold.writeAtEachListing = false;
    }
    EXPECT_EQ(itemsAppended(), 3) << "read whole with its menu";
    EXPECT_EQ(PluginMenu(), old_);
}

// The tree's insertions, failed from the chosen one on.
int g_insertsLeft = -1;
decltype(&SendMessageA) g_sendMessage;
LRESULT WINAPI FailingSendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TVM_INSERTITEMA && g_insertsLeft >= 0 && g_insertsLeft-- == 0) {
        g_insertsLeft = 0;
        return 0;
    }
    return g_sendMessage(window, message, wParam, lParam);
}

TEST_F(LockRace, ALoadWhoseTreeRefusesAnItemFailsWholeAndTellsOnce) {
    ImportPatch sendPatch(GetModuleHandleA(nullptr), "user32.dll", "SendMessageA",
                          reinterpret_cast<void*>(FailingSendMessage));
    ASSERT_TRUE(sendPatch.Patched());
    g_sendMessage = reinterpret_cast<decltype(g_sendMessage)>(sendPatch.Original());
    // The top item, the first entry, a submenu, an entry inside it, the last.
    for (int failing : {0, 1, 2, 3, 6}) {
        SCOPED_TRACE("insertion " + std::to_string(failing));
        std::vector<std::string> boxes;
        g_insertsLeft = failing;
        ASSERT_TRUE(WithSheet(
            [&](HWND sheet) {
                g_insertsLeft = -1;
                EXPECT_EQ(TreeView_GetCount(MenuTree(sheet)), 0u) << "no part of a menu";
                EXPECT_FALSE(ControlEnabled(sheet, kAddEntryId));
                PressSheetButton(sheet, PSBTN_OK);
                return true;
            },
            &boxes));
        EXPECT_EQ(boxes, std::vector<std::string>{std::string("Tevrix: ") + kLoadIncomplete});
        std::vector<StoreEntry> stored;
        ASSERT_TRUE(ReadStoreMenu(&stored));
        EXPECT_EQ(DescribeMenu(stored), old_) << "OK wrote nothing";
    }
    // Past the last insertion: the whole menu loads.
    g_insertsLeft = 7;
    std::vector<std::string> boxes;
    std::string loaded;
    ASSERT_TRUE(WithSheet(
        [&](HWND sheet) {
            loaded = DescribeMenu(sheet);
            PressSheetButton(sheet, PSBTN_CANCEL);
            return true;
        },
        &boxes));
    g_insertsLeft = -1;
    EXPECT_EQ(loaded, old_);
    EXPECT_TRUE(boxes.empty());
}

} // namespace
