// Configure chosen while the settings sheet is open, through the plug-in's
// QPCSetup with the real Vandry.dll beside this stand-in host: there stays one
// sheet, brought to the front, and neither library is unloaded from under it.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <vector>

#include "modal_closer.h"
#include "common/proc_cast.h"
#include "store_reset.h"
#include "tests/settings/menu_store_io.h"

namespace {
typedef LRESULT(WINAPI* EntryFn)(LPARAM);

const char kSheetCaption[] = "Tevrix 設定";
const int kMenuTree = 1010;
const int kDeleteButton = 1005;

BOOL CALLBACK CollectSheet(HWND window, LPARAM param) {
    char caption[64] = "";
    GetWindowTextA(window, caption, sizeof caption);
    if (IsWindowVisible(window) && lstrcmpA(caption, kSheetCaption) == 0)
        reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

std::vector<HWND> OpenSheets() {
    std::vector<HWND> sheets;
    EnumThreadWindows(GetCurrentThreadId(), CollectSheet, reinterpret_cast<LPARAM>(&sheets));
    return sheets;
}

// A top-level window of the host: its main window, or a compose window.
HWND HostWindow(const char* title) {
    return CreateWindowExA(0, "STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                           nullptr, nullptr, nullptr, nullptr);
}

// Runs configure; once the sheet shows, step runs with it (and closes it).
LRESULT Configure(EntryFn setup, const std::function<void(HWND)>& step) {
    bool done = false;
    ModalCloser closer([&] {
        std::vector<HWND> sheets = OpenSheets();
        if (sheets.empty() || done)
            return;
        done = true;
        step(sheets[0]);
    });
    LRESULT result = setup(0);
    EXPECT_TRUE(done);
    EXPECT_FALSE(closer.TimedOut());
    return result;
}

void PressCancel(HWND sheet) {
    SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

// Another host window comes to the front, and configure is chosen again.
struct SecondConfigure {
    bool otherWasInFront = false;
    LRESULT result = 0;
    size_t sheets = 0;
    HWND front = nullptr;
    bool editorLoaded = false;
};

SecondConfigure ConfigureAgain(EntryFn setup) {
    SecondConfigure second;
    HWND compose = HostWindow("compose");
    SetForegroundWindow(compose);
    second.otherWasInFront = GetForegroundWindow() == compose;
    second.result = setup(0);
    second.sheets = OpenSheets().size();
    second.front = GetForegroundWindow();
    second.editorLoaded = GetModuleHandleA("Vandry.dll") != nullptr;
    DestroyWindow(compose);
    return second;
}

class OneSheet : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetStore();
        plugin_ = LoadLibraryA("Tevrix.dll");
        ASSERT_NE(plugin_, nullptr);
        setup_ = GetProcAs<EntryFn>(plugin_, "QPCSetup");
        ASSERT_NE(setup_, nullptr);
    }
    void TearDown() override {
        if (plugin_)
            FreeLibrary(plugin_);
    }

    HMODULE plugin_ = nullptr;
    EntryFn setup_ = nullptr;
};
} // namespace

TEST_F(OneSheet, ASecondConfigureBringsTheOpenSheetToTheFront) {
    HWND host = HostWindow("host");
    SetForegroundWindow(host);
    HWND owner = nullptr, sheetSeen = nullptr;
    bool hostEnabled = true;
    SecondConfigure second;
    LRESULT result = Configure(setup_, [&](HWND sheet) {
        sheetSeen = sheet;
        owner = GetWindow(sheet, GW_OWNER);
        hostEnabled = IsWindowEnabled(host) != FALSE;
        second = ConfigureAgain(setup_);
        PressCancel(sheet);
    });
    EXPECT_NE(result, 0);
    // Owned by the window configured from, which waits for the sheet.
    EXPECT_EQ(owner, host);
    EXPECT_FALSE(hostEnabled);
    EXPECT_TRUE(IsWindowEnabled(host));
    ASSERT_TRUE(second.otherWasInFront);
    EXPECT_EQ(second.result, 1);
    EXPECT_EQ(second.sheets, 1u);
    EXPECT_EQ(second.front, sheetSeen);
    EXPECT_TRUE(second.editorLoaded);
    EXPECT_EQ(GetModuleHandleA("Vandry.dll"), nullptr);
    DestroyWindow(host);
}

TEST_F(OneSheet, ASecondConfigureBringsTheSheetsOpenBoxToTheFront) {
    WriteStoreMenu({TextEntry("A", "a")});
    HWND box = nullptr;
    SecondConfigure second;
    Configure(setup_, [&](HWND sheet) {
        HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        HWND tree = GetDlgItem(page, kMenuTree);
        TreeView_SelectItem(tree, TreeView_GetChild(tree, TreeView_GetRoot(tree)));
        // Configure again while the delete confirmation waits for its answer.
        ModalCloser answering([&] {
            HWND found = FindThreadWindow("#32770");
            if (!found || found == sheet || box)
                return;
            box = found;
            second = ConfigureAgain(setup_);
            SendMessageA(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
        });
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(kDeleteButton, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(page, kDeleteButton)));
        PressCancel(sheet);
    });
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(second.otherWasInFront);
    EXPECT_EQ(second.sheets, 1u);
    EXPECT_EQ(second.front, box);
}

TEST_F(OneSheet, AHostThatUnloadsThePluginDuringTheSheetDoesNotPullItFromUnderIt) {
    bool stillMapped = false;
    LRESULT result = Configure(setup_, [&](HWND sheet) {
        FreeLibrary(plugin_); // the host lets go of the plug-in
        stillMapped = GetModuleHandleA("Tevrix.dll") != nullptr;
        PressCancel(sheet);
    });
    plugin_ = nullptr;
    // Reaching this line at all: QPCSetup returned into code still mapped.
    EXPECT_NE(result, 0);
    EXPECT_TRUE(stillMapped);
    // The host's next call lets the plug-in's own hold go, and the plug-in
    // then unloads with the host's last reference (after QPCCleanUp, which
    // ends the reader thread QPCStartUp started: the thread holds the
    // plug-in while it runs).
    HMODULE again = LoadLibraryA("Tevrix.dll");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(GetProcAs<EntryFn>(again, "QPCStartUp")(0), 1);
    GetProcAs<LRESULT(WINAPI*)(void)>(again, "QPCCleanUp")();
    FreeLibrary(again);
    EXPECT_EQ(GetModuleHandleA("Tevrix.dll"), nullptr);
}
