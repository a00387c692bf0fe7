// From a backup file to the compose window: the menu exported from the sheet
// of the real Vandry.dll and imported again as a new submenu is the menu that
// the real Tevrix.dll builds.
#include <gtest/gtest.h>

#include "backup_steps.h"
#include "store_reset.h"
#include "tests/plugin/plugin_harness.h"
#include "tests/settings/temp_folder.h"

TEST(BackupEndToEnd, AnExportImportedAsASubmenuShowsBesideTheMenuInTheComposeWindow) {
    ResetStore();
    WriteStoreMenu({TextEntry("挨拶", "こんにちは。\r\n"),
                    Submenu("リンク", {TextEntry("Site", "http://example.jp/")})});
    TempFolder folder;
    std::string path = folder.PathOf("共有メニュー.json");
    ASSERT_TRUE(RunSheetSteps(Steps({ExportTo(path), ImportFrom(path, false), {PressSheetOk()}})));

    ASSERT_NE(Plugin().module, nullptr);
    HMENU menu = BuildComposeMenu();
    std::vector<MenuItem> top = ReadMenu(TextPopup(menu));
    ASSERT_EQ(top.size(), 3u);
    EXPECT_EQ(top[0].text, "挨拶");
    EXPECT_EQ(top[1].text, "リンク");
    EXPECT_EQ(top[2].text, "共有メニュー");
    ASSERT_NE(top[2].submenu, nullptr);
    std::vector<MenuItem> shared = ReadMenu(top[2].submenu);
    ASSERT_EQ(shared.size(), 2u);
    EXPECT_EQ(shared[0].text, "挨拶");
    EXPECT_EQ(shared[1].text, "リンク");
    ASSERT_NE(shared[1].submenu, nullptr);
    std::vector<MenuItem> links = ReadMenu(shared[1].submenu);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(InsertedText(top[0].id), "こんにちは。\r\n");
    EXPECT_EQ(InsertedText(shared[0].id), "こんにちは。\r\n");
    EXPECT_EQ(InsertedText(links[0].id), "http://example.jp/");
    DestroyMenu(menu);
    Plugin().CleanUp();
}
