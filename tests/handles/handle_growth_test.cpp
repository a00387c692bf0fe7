// The mail client runs for days, opening the settings sheet, building compose
// menus and opening the picker many times: none of it may leave a kernel
// handle behind. Each case does its thing once to warm up (caches, the first
// load of a system library), then counts the process's handles around 20
// more, with the real Tevrix.dll and Vandry.dll beside this stand-in host.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>

#include "common/proc_cast.h"
#include "host/host_stub.h"
#include "modal_closer.h"
#include "process_handles.h"
#include "store_reset.h"
#include "tests/plugin/plugin_harness.h"

namespace {
typedef LRESULT(WINAPI* SetupFn)(LPARAM);

const int kRounds = 20;
const char kSheetCaption[] = "Tevrix 設定";
const int kPickerQuery = 1010;
const int kPickerList = 1011;

void WriteMenu() {
    WriteTextEntry("URL", 0, "ポータル", "https://www.example.jp/");
    std::string news = WriteSubmenuEntry("URL", 1, "ニュース");
    WriteTextEntry(news, 0, "ＮＨＫ", "https://www3.nhk.or.jp/news/");
    WriteStoreNumber("", "UsePicker", 1);
}

// The handles that the rounds after the first one left open.
int GrowthOver(const std::function<void()>& round) {
    round();
    int warm = CountProcessHandles();
    for (int i = 1; i < kRounds; ++i)
        round();
    return CountProcessHandles() - warm;
}

// Opens the sheet through the plug-in from the active window, shows every
// page once (each page is made when first shown) and cancels.
bool OpenAndCancelSheet() {
    bool closed = false;
    ModalCloser closer([&] {
        HWND sheet = FindThreadWindow(nullptr);
        char caption[64] = "";
        if (!sheet || closed || !GetWindowTextA(sheet, caption, sizeof caption) ||
            lstrcmpA(caption, kSheetCaption) != 0)
            return;
        HWND tabs = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
        int pages = TabCtrl_GetItemCount(tabs);
        for (int page = 0; page < pages; ++page)
            SendMessageA(sheet, PSM_SETCURSEL, page, 0);
        closed = true;
        SendMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    });
    SetupFn setup = GetProcAs<SetupFn>(Plugin().module, "QPCSetup");
    setup(0);
    return closed && !closer.TimedOut();
}

// Opens the picker of a fresh compose menu, types, and leaves with Escape.
bool OpenAndEscapePicker() {
    HMENU menu = BuildComposeMenu();
    UINT pickerId = ReadMenu(TextPopup(menu))[0].id;
    ComposeEditor editor;
    int step = 0;
    ModalCloser closer([&] {
        HWND dialog = FindThreadWindow("#32770");
        if (!dialog || !GetDlgItem(dialog, kPickerList))
            return;
        HWND query = GetDlgItem(dialog, kPickerQuery);
        if (step++ == 0) {
            PostMessageA(query, WM_CHAR, 'n', 1);
            return;
        }
        PostMessageA(query, WM_KEYDOWN, VK_ESCAPE, 1);
        PostMessageA(query, WM_KEYUP, VK_ESCAPE, 0xC0000001);
    });
    editor.Choose(pickerId);
    DestroyMenu(menu);
    return step >= 2 && !closer.TimedOut();
}

class HandleGrowth : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(Plugin().module, nullptr);
        ASSERT_GT(CountProcessHandles(), 0) << "the system lists no handles";
        ResetStore();
        host::ForgetRegistrations();
        WriteMenu();
    }
    void TearDown() override {
        Plugin().CleanUp();
        ResetStore();
    }
};
} // namespace

TEST_F(HandleGrowth, TheCountSeesAHandleLeftAtEachRound) {
    EXPECT_EQ(GrowthOver([] { CreateEventA(nullptr, TRUE, FALSE, nullptr); }), kRounds - 1);
}

TEST_F(HandleGrowth, OpeningTheSettingsSheetLeavesNone) {
    HWND compose = CreateWindowExA(0, "STATIC", "compose", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                   300, 200, nullptr, nullptr, nullptr, nullptr);
    int opened = 0;
    EXPECT_EQ(GrowthOver([&] {
                  SetActiveWindow(compose);
                  opened += OpenAndCancelSheet() ? 1 : 0;
              }),
              0);
    DestroyWindow(compose);
    EXPECT_EQ(opened, kRounds);
}

TEST_F(HandleGrowth, BuildingComposeMenusLeavesNone) {
    EXPECT_EQ(GrowthOver([] {
                  DestroyMenu(BuildComposeMenu());
                  Plugin().ViewClose(0);
              }),
              0);
}

TEST_F(HandleGrowth, OpeningThePickerLeavesNone) {
    int opened = 0;
    EXPECT_EQ(GrowthOver([&] { opened += OpenAndEscapePicker() ? 1 : 0; }), 0);
    EXPECT_EQ(opened, kRounds);
}
