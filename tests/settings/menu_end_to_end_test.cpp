// From the settings editor to the compose window: the menu edited in the
// sheet of the real Vandry.dll is the menu that the real Tevrix.dll builds.
#include <gtest/gtest.h>

#include "menu_page_driver.h"
#include "menu_store_io.h"
#include "store_reset.h"
#include "tests/plugin/plugin_harness.h"

namespace {
// Titles the item that adding has just put into in-place editing.
void TitleNewItem(HWND sheet, const char* title) {
    HWND tree = MenuTree(sheet);
    SetWindowTextA(TreeView_GetEditControl(tree), title);
    SendMessageA(tree, TVM_ENDEDITLABELNOW, FALSE, 0);
}
} // namespace

TEST(MenuEndToEnd, TheMenuEditedInTheSheetIsTheComposeWindowsMenu) {
    ResetStore();
    WriteStoreMenu({TextEntry("古い項目", "old"), TextEntry("Gone", "gone")});
    ASSERT_TRUE(RunSettingSheet({
        [](HWND sheet) { SelectItem(MenuTree(sheet), FindItem(MenuTree(sheet), {"古い項目"})); },
        [](HWND sheet) { TypeInStringBox(sheet, "新しい\r\n文字列"); },
        [](HWND sheet) {
            // A submenu first under the top item, holding one entry.
            SelectItem(MenuTree(sheet), TreeView_GetRoot(MenuTree(sheet)));
            ClickControl(MenuPage(sheet), kAddSubmenuId);
            TitleNewItem(sheet, "リンク");
            ClickControl(MenuPage(sheet), kAddEntryId);
            TitleNewItem(sheet, "Site");
            TypeInStringBox(sheet, "http://example.jp/");
        },
        [](HWND sheet) {
            // Moves "Gone" into the submenu, after "Site".
            HWND tree = MenuTree(sheet);
            DragOnto(sheet, FindItem(tree, {"Gone"}), FindItem(tree, {"リンク", "Site"}));
        },
        [](HWND sheet) { PressSheetButton(sheet, PSBTN_OK); },
    }));

    ASSERT_NE(Plugin().module, nullptr);
    HMENU menu = BuildComposeMenu();
    std::vector<MenuItem> top = ReadMenu(TextPopup(menu));
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(top[0].text, "リンク");
    ASSERT_NE(top[0].submenu, nullptr);
    EXPECT_EQ(top[1].text, "古い項目");
    std::vector<MenuItem> links = ReadMenu(top[0].submenu);
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0].text, "Site");
    EXPECT_EQ(links[1].text, "Gone");
    EXPECT_EQ(InsertedText(links[0].id), "http://example.jp/");
    EXPECT_EQ(InsertedText(links[1].id), "gone");
    EXPECT_EQ(InsertedText(top[1].id), "新しい\r\n文字列");
    DestroyMenu(menu);
    Plugin().CleanUp();
}
