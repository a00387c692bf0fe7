// Saves whose registry writes fail, one write at a time, through the sheet's
// Apply and OK: the store keeps the whole old menu, the plug-in (the real
// Tevrix.dll) shows it, and the user is told; the sheet stays open.
#include <gtest/gtest.h>

#include "menu_description.h"
#include "menu_page_driver.h"
#include "modal_closer.h"
#include "settings/sheet/setting_sheet.h"
#include "settings/store/registry_writes.h"
#include "store_reset.h"
#include "tests/plugin/plugin_harness.h"

namespace {

const char kSaveFailed[] = "メニューを保存できませんでした。";

// Writes to let through before one fails; -1: none fails.
int g_writesLeft = -1;
bool g_refused = false;
RegistryWrite g_refusedWrite;

LONG FailOneWrite(RegistryWrite write) {
    if (g_writesLeft < 0 || g_writesLeft-- != 0)
        return ERROR_SUCCESS;
    g_refused = true;
    g_refusedWrite = write;
    return ERROR_ACCESS_DENIED;
}

std::string PluginMenu() {
    HMENU menu = BuildComposeMenu();
    std::string description = DescribePluginMenu(TextPopup(menu));
    DestroyMenu(menu);
    return description;
}

// Runs the sheet of the editor's classes; step runs at each tick once the
// sheet is up, until it answers true, then the sheet is cancelled.
bool WithSheet(const std::function<bool(HWND sheet)>& step) {
    bool done = false;
    ModalCloser closer(
        [&] {
            HWND sheet = FindThreadWindow("#32770");
            if (!sheet || done)
                return;
            done = step(sheet);
            if (done)
                PressSheetButton(sheet, PSBTN_CANCEL);
        },
        50, 300000);
    {
        CSettingSheet sheet(nullptr);
        sheet.DoModal();
    }
    return done && !closer.TimedOut();
}

// The sheet's button with one write failing; the message boxes it showed.
std::vector<MessageBoxSeen> PressFailing(HWND sheet, int button, int failingWrite) {
    g_refused = false;
    g_writesLeft = failingWrite;
    SetRegistryWriteFilter(FailOneWrite);
    std::vector<MessageBoxSeen> seen = AnswerMessageBoxes(
        sheet, [&] { PressSheetButton(sheet, button); }, IDOK);
    SetRegistryWriteFilter(nullptr);
    g_writesLeft = -1;
    return seen;
}

class SaveFailure : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(Plugin().module, nullptr);
        WriteOldMenu();
        old_ = DescribeMenu(kOld);
    }
    void TearDown() override {
        SetRegistryWriteFilter(nullptr);
        Plugin().CleanUp();
        ResetStore();
    }
    void WriteOldMenu() {
        ResetStore();
        WriteStoreMenu(kOld);
    }
    // Three levels.
    const std::vector<StoreEntry> kOld = {
        TextEntry("A", "a"),
        Submenu("S", {TextEntry("B", "b"), Submenu("T", {TextEntry("C", "c"), TextEntry("D", "d")}),
                      TextEntry("E", "e")}),
        TextEntry("F", "f")};
    std::string old_;
};

TEST_F(SaveFailure, EveryWriteThatFailsKeepsTheOldMenuAndTellsTheUser) {
    int told = 0;
    int failing = 0;
    bool saved = false;
    std::string changed;
    ASSERT_TRUE(WithSheet([&](HWND sheet) {
        if (changed.empty()) {
            // A new menu that differs from the old one at every level.
            SelectItem(MenuTree(sheet), FindItem(MenuTree(sheet), {"S", "T", "C"}));
            ClickAndAnswer(sheet, kDeleteId, IDYES);
            SelectItem(MenuTree(sheet), FindItem(MenuTree(sheet), {"A"}));
            ClickAndAnswer(sheet, kDeleteId, IDYES);
            changed = DescribeMenu(sheet);
            EXPECT_NE(changed, old_);
            return false;
        }
        SCOPED_TRACE("write " + std::to_string(failing));
        std::vector<MessageBoxSeen> seen = PressFailing(sheet, PSBTN_APPLYNOW, failing++);
        if (!g_refused) {
            // Every write went through: the new menu is saved.
            EXPECT_TRUE(seen.empty());
            EXPECT_EQ(PluginMenu(), changed);
            saved = true;
            return true;
        }
        std::string shown = PluginMenu();
        if (!seen.empty()) {
            ++told;
            EXPECT_EQ(seen.size(), 1u);
            EXPECT_EQ(seen[0].caption, "Tevrix");
            EXPECT_EQ(seen[0].text, kSaveFailed);
            EXPECT_EQ(shown, old_);
            EXPECT_EQ(StoreKeyNames(""), std::vector<std::string>{"URL"}) << "nothing left over";
            EXPECT_TRUE(ApplyEnabled(sheet)) << "the page stays changed";
        } else {
            // Only the deletion of the replaced menu may fail unseen: the new
            // menu is in place, and the next save deletes the rest.
            EXPECT_EQ(g_refusedWrite, RegistryWrite::kDeleteTree);
            EXPECT_EQ(shown, changed);
            std::vector<CMenuEntry> saved;
            EXPECT_TRUE(CMenuStore().Load(saved));
            EXPECT_TRUE(CMenuStore().Save(saved));
            EXPECT_EQ(StoreKeyNames(""), std::vector<std::string>{"URL"});
            EXPECT_EQ(PluginMenu(), changed);
            WriteOldMenu();
            SendMessageA(sheet, PSM_CHANGED, reinterpret_cast<WPARAM>(MenuPage(sheet)), 0);
        }
        return false;
    }));
    EXPECT_TRUE(saved);
    // All but the success and the deletion of the replaced menu.
    EXPECT_GE(told, 25);
    EXPECT_EQ(told, failing - 2) << "of " << failing << " writes";
}

TEST_F(SaveFailure, OkThatCannotSaveKeepsTheSheetOpen) {
    int step = 0;
    std::vector<MessageBoxSeen> seen;
    ASSERT_TRUE(WithSheet([&](HWND sheet) {
        if (step++ == 0) {
            SelectItem(MenuTree(sheet), FindItem(MenuTree(sheet), {"F"}));
            ClickAndAnswer(sheet, kDeleteId, IDYES);
            seen = PressFailing(sheet, PSBTN_OK, 12);
            return false;
        }
        // A tick later: the sheet is still there.
        EXPECT_TRUE(IsWindowVisible(sheet));
        return true;
    }));
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, kSaveFailed);
    EXPECT_EQ(step, 2);
    EXPECT_EQ(PluginMenu(), old_);
}

} // namespace
