// A host that frees the plug-in at its own moment: while the picker's modal
// loop runs (as a host quitting from its main window does), and again and
// again without QPCCleanUp. Each test loads Tevrix.dll itself, so that its
// FreeLibrary drops the host's last reference.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/proc_cast.h"
#include "host/host_stub.h"
#include "modal_closer.h"
#include "store_reset.h"
#include "tests/plugin/plugin_harness.h"

namespace {

typedef void(WINAPI* SendInitMenuFn)(LPARAM, HMENU, UINT);
typedef LRESULT(WINAPI* StartUpFn)(LPARAM);

bool PluginMapped() {
    return GetModuleHandleA("Tevrix.dll") != nullptr;
}

// Builds a compose window's menu through a freshly loaded plug-in; the id of
// the popup's first item.
UINT BuildMenu(HMODULE plugin, HMENU hostMenu) {
    GetProcAs<SendInitMenuFn>(plugin, "QPCSendInitMenu")(0, hostMenu, QPC_MENU_KIND_COMPOSE);
    std::vector<MenuItem> items = ReadMenu(TextPopup(hostMenu));
    return items.empty() ? 0 : items[0].id;
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
    ASSERT_NE(pickerId, 0u);
    ComposeEditor editor;
    HWND compose = GetAncestor(editor.Edit(), GA_ROOT);
    ShowWindow(compose, SW_SHOWNOACTIVATE);
    bool quit = false;
    ModalCloser closer([&] {
        if (quit || !FindThreadWindow("#32770"))
            return;
        // The host's main window stays usable: the user quits from there, and
        // the host closes its compose windows and frees its plug-ins.
        quit = true;
        DestroyWindow(compose);
        DestroyMenu(hostMenu);
        GetProcAs<LRESULT(WINAPI*)(void)>(plugin, "QPCCleanUp")();
        FreeLibrary(plugin);
    });
    editor.Choose(pickerId); // returns into the plug-in after the loop
    EXPECT_TRUE(quit);
    EXPECT_FALSE(closer.TimedOut());
    EXPECT_TRUE(PluginMapped()) << "the picker's reference keeps it until the host calls again";

    // A host that loads it again: its next call drops the picker's reference,
    // and its FreeLibrary unloads the plug-in.
    plugin = LoadLibraryA("Tevrix.dll");
    ASSERT_NE(plugin, nullptr);
    EXPECT_EQ(GetProcAs<StartUpFn>(plugin, "QPCStartUp")(0), 1);
    FreeLibrary(plugin);
    EXPECT_FALSE(PluginMapped());
}

TEST_F(Unload, ThePickersReferenceGoesAtTheHostsNextCall) {
    HMODULE plugin = LoadLibraryA("Tevrix.dll");
    ASSERT_NE(plugin, nullptr);
    HMENU hostMenu = CreatePopupMenu();
    UINT pickerId = BuildMenu(plugin, hostMenu);
    ComposeEditor editor;
    ModalCloser closer([&] {
        if (HWND dialog = FindThreadWindow("#32770"))
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    editor.Choose(pickerId);
    EXPECT_FALSE(closer.TimedOut());
    DestroyMenu(hostMenu);
    GetProcAs<LRESULT(WINAPI*)(LPARAM)>(plugin, "QPCViewClose")(0);
    FreeLibrary(plugin);
    EXPECT_FALSE(PluginMapped()) << "a reference of the picker outlived it";
}

namespace {

// The bytes in use in every heap of the process: the C runtime's, where the
// plug-in's lists live, and the system's, where menus live.
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

// A host that builds one compose window's menu and frees the plug-in without
// QPCCleanUp, then closes the compose window.
void LoadBuildUnload() {
    HMODULE plugin = LoadLibraryA("Tevrix.dll");
    ASSERT_NE(plugin, nullptr);
    HMENU hostMenu = CreatePopupMenu();
    BuildMenu(plugin, hostMenu);
    host::ForgetRegistrations();
    FreeLibrary(plugin);
    DestroyMenu(hostMenu);
}

} // namespace

TEST_F(Unload, UnloadingWithoutCleanUpLeavesNothingBehind) {
    for (int i = 0; i < 4; ++i)
        LoadBuildUnload();
    const int cycles = 40;
    size_t before = BusyHeapBytes();
    for (int i = 0; i < cycles; ++i)
        LoadBuildUnload();
    size_t after = BusyHeapBytes();
    ASSERT_GT(before, 0u) << "the heaps cannot be walked";
    long long growth = static_cast<long long>(after) - static_cast<long long>(before);
    printf("heap growth over %d unloads: %lld bytes\n", cycles, growth);
    // One build's lists hold about 2 KB; the system's own bookkeeping of a
    // load may stay a little.
    EXPECT_LT(growth, cycles * 128) << "bytes kept per unload: " << growth / cycles;
}
