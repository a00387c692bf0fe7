// A host that frees the plug-in at its own moment: while the picker's modal
// loop runs (as a host quitting from its main window does), and again and
// again without QPCCleanUp. Each test loads Tevrix.dll itself, so that its
// FreeLibrary drops the host's last reference. The reader thread that a start
// or a build begins holds the plug-in until QPCCleanUp ends it: a host that
// never cleans up finds the same plug-in, and the same lists, at its next load.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/proc_cast.h"
#include "host/host_stub.h"
#include "modal_closer.h"
#include "process_handles.h"
#include "store_reset.h"
#include "tests/plugin/plugin_harness.h"

namespace {

bool PluginMapped() {
    return GetModuleHandleA("Tevrix.dll") != nullptr;
}

template <typename Function> Function Entry(HMODULE plugin, const char* name) {
    return GetProcAs<Function>(plugin, name);
}

// Builds a compose window's menu; the command of the popup's first item.
UINT BuildMenu(HMODULE plugin, HMENU hostMenu) {
    Entry<void(WINAPI*)(LPARAM, HMENU, UINT)>(plugin, "QPCSendInitMenu")(0, hostMenu,
                                                                         QPC_MENU_KIND_COMPOSE);
    std::vector<MenuItem> items = ReadMenu(TextPopup(hostMenu));
    return items.empty() ? 0 : items[0].id;
}

// The bytes in use in every heap of the process: the C runtime's, where the
// plug-in's lists live, and the system's.
size_t BusyHeapBytes() {
    HANDLE heaps[64];
    DWORD count = GetProcessHeaps(64, heaps);
    size_t busy = 0;
    for (DWORD i = 0; i < count && i < 64; ++i) {
        if (!HeapLock(heaps[i]))
            continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                busy += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return busy;
}

class Unload : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(PluginMapped()) << "a test left the plug-in loaded";
        ResetStore();
        host::ForgetRegistrations();
        WriteStoreNumber("", "UsePicker", 1);
        for (int i = 0; i < 24; ++i)
            WriteTextEntry("URL", i, "定型文 " + std::to_string(i),
                           "https://example.com/" + std::string(40, 'a' + i % 26));
    }
    void TearDown() override { ResetStore(); }
};

} // namespace

TEST_F(Unload, TheHostQuittingWhileThePickerIsOpenDoesNotCrashIt) {
    HMODULE plugin = LoadLibraryA("Tevrix.dll");
    ASSERT_NE(plugin, nullptr);
    HMENU hostMenu = CreatePopupMenu();
    UINT pickerId = BuildMenu(plugin, hostMenu);
    ComposeEditor editor;
    HWND compose = GetAncestor(editor.Edit(), GA_ROOT);
    ShowWindow(compose, SW_SHOWNOACTIVATE);
    bool quit = false;
    ModalCloser closer([&] {
        if (quit || !FindThreadWindow("#32770"))
            return;
        // From its main window, which the picker leaves usable: the host
        // closes its compose windows, cleans up and frees its plug-ins.
        quit = true;
        DestroyWindow(compose);
        DestroyMenu(hostMenu);
        Entry<LRESULT(WINAPI*)(void)>(plugin, "QPCCleanUp")();
        FreeLibrary(plugin);
    });
    editor.Choose(pickerId); // the loop ends and returns into the plug-in
    EXPECT_TRUE(quit);
    EXPECT_FALSE(closer.TimedOut());
    EXPECT_TRUE(PluginMapped()) << "the picker's reference keeps it until the host calls again";

    // Loaded again, its next call drops the picker's reference, and after
    // the clean-up that ends its reader the host's FreeLibrary unloads it.
    plugin = LoadLibraryA("Tevrix.dll");
    EXPECT_EQ(Entry<LRESULT(WINAPI*)(LPARAM)>(plugin, "QPCStartUp")(0), 1);
    Entry<LRESULT(WINAPI*)(void)>(plugin, "QPCCleanUp")();
    FreeLibrary(plugin);
    EXPECT_FALSE(PluginMapped());
}

namespace {
// Loads the plug-in, builds a compose window's menu, cleans up when asked to
// and frees the plug-in; true when it is gone from the process.
bool LoadBuildUnload(bool cleanUp) {
    HMODULE plugin = LoadLibraryA("Tevrix.dll");
    HMENU hostMenu = CreatePopupMenu();
    BuildMenu(plugin, hostMenu);
    if (cleanUp)
        Entry<LRESULT(WINAPI*)(void)>(plugin, "QPCCleanUp")();
    host::ForgetRegistrations();
    FreeLibrary(plugin);
    DestroyMenu(hostMenu); // the compose window closes after
    return !PluginMapped();
}
} // namespace

TEST_F(Unload, UnloadingWithoutCleanUpLeavesNothingBehind) {
    for (int i = 0; i < 4; ++i)
        LoadBuildUnload(false);
    const int cycles = 40;
    size_t before = BusyHeapBytes();
    for (int i = 0; i < cycles; ++i)
        LoadBuildUnload(false);
    long long growth = static_cast<long long>(BusyHeapBytes()) - static_cast<long long>(before);
    ASSERT_GT(before, 0u) << "the heaps cannot be walked";
    // One build's text list holds about 1.7 KB.
    EXPECT_LT(growth, cycles * 128) << "bytes kept per unload: " << growth / cycles;

    // The host that does clean up at last unloads it.
    HMODULE plugin = LoadLibraryA("Tevrix.dll");
    Entry<LRESULT(WINAPI*)(void)>(plugin, "QPCCleanUp")();
    FreeLibrary(plugin);
    EXPECT_FALSE(PluginMapped());
}

// The host's thread loads and frees the plug-in and lives on: nothing the
// runtime keeps for that thread may stay behind with each unload.
TEST_F(Unload, EachLoadAndUnloadLeavesNoHandle) {
    ASSERT_TRUE(LoadBuildUnload(true));
    int before = CountProcessHandles();
    ASSERT_GT(before, 0) << "the system lists no handles";
    int unloaded = 0;
    for (int i = 0; i < 10; ++i)
        unloaded += LoadBuildUnload(true) ? 1 : 0;
    EXPECT_EQ(unloaded, 10);
    EXPECT_EQ(CountProcessHandles() - before, 0);
}
