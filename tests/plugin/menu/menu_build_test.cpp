// Menu builds from a real store into real menus, checked through the host's
// record of callbacks and a real edit control.
#include <gtest/gtest.h>

#include "host/host_stub.h"
#include "tests/plugin/plugin_harness.h"
#include "store_reset.h"

namespace {

using MenuBuild = PluginStoreTest;

TEST_F(MenuBuild, OtherKindsChangeNothing) {
    WriteTextEntry("URL", 0, "A", "a");
    HMENU first = BuildComposeMenu();
    HMENU popup = TextPopup(first);
    ASSERT_NE(popup, nullptr);
    size_t registered = host::RegistrationCount();

    HMENU other = CreatePopupMenu();
    for (UINT kind : {0u, 1u, 201u, 301u, 303u})
        Plugin().SendInitMenu(0, other, kind);
    EXPECT_EQ(GetMenuItemCount(other), 0);
    EXPECT_TRUE(IsMenu(popup)) << "the popup of the last build survives";
    EXPECT_EQ(host::RegistrationCount(), registered) << "the store was not read";
    EXPECT_EQ(InsertedText(ReadMenu(popup)[0].id), "a") << "the text list survives";
    DestroyMenu(other);
    DestroyMenu(first);
}

TEST_F(MenuBuild, AppendsSeparatorAndPopupAfterHostItems) {
    HMENU menu = BuildComposeMenu(3);
    std::vector<MenuItem> items = ReadMenu(menu);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[2].text, "host item 2");
    EXPECT_TRUE(items[3].type & MFT_SEPARATOR);
    EXPECT_EQ(items[4].text, "文字列を挿入");
    ASSERT_NE(items[4].submenu, nullptr);
    EXPECT_EQ(GetMenuItemCount(items[4].submenu), 0) << "a fresh store has an empty menu";
    DestroyMenu(menu);
}

TEST_F(MenuBuild, DataValuesRunDepthFirstThroughSubmenus) {
    WriteTextEntry("URL", 0, "A", "text A");
    std::string s = WriteSubmenuEntry("URL", 1, "S");
    WriteTextEntry(s, 0, "B", "text B");
    WriteTextEntry(s, 1, "C", "text\r\nC");
    WriteTextEntry("URL", 2, "D", "テキストＤ");

    HMENU menu = BuildComposeMenu();
    HMENU popup = TextPopup(menu);
    std::vector<MenuItem> top = ReadMenu(popup);
    ASSERT_EQ(top.size(), 3u);
    EXPECT_EQ(top[0].text, "A");
    EXPECT_EQ(top[1].text, "S");
    ASSERT_NE(top[1].submenu, nullptr);
    EXPECT_EQ(top[2].text, "D");
    std::vector<MenuItem> sub = ReadMenu(top[1].submenu);
    ASSERT_EQ(sub.size(), 2u);
    EXPECT_EQ(sub[0].text, "B");
    EXPECT_EQ(sub[1].text, "C");

    EXPECT_EQ(DataValues(popup), (std::vector<LPARAM>{0, 1, 2, 3}));
    UINT ids[] = {top[0].id, sub[0].id, sub[1].id, top[2].id};
    const char* texts[] = {"text A", "text B", "text\r\nC", "テキストＤ"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(InsertedText(ids[i]), texts[i]) << "entry " << i;
    DestroyMenu(menu);
}

TEST_F(MenuBuild, MissingValuesAndOtherTypesMakeTextEntries) {
    RegCloseKey(CreateStoreKey("URL\\URL0"));        // nothing at all
    WriteStoreBytes("URL\\URL1", nullptr, "Two");    // title only
    WriteTextEntry("URL", 2, "Three", "three");      // overwritten below
    WriteStoreNumber("URL\\URL2", "Type", 2);        // any type but 1
    WriteStoreBytes("URL\\URL3", "URL", "no title"); // text only
    WriteTextEntry("URL", 4, "&Amp", "");            // empty text
    HMENU menu = BuildComposeMenu();
    std::vector<MenuItem> items = ReadMenu(TextPopup(menu));
    ASSERT_EQ(items.size(), 5u);
    const char* titles[] = {"", "Two", "Three", "", "&Amp"};
    const char* texts[] = {"", "", "three", "no title", ""};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(items[i].text, titles[i]) << i;
        EXPECT_FALSE(items[i].type & MFT_SEPARATOR) << "an empty title is no separator";
        EXPECT_EQ(items[i].submenu, nullptr) << i;
        ASSERT_NE(host::FindRegistration(items[i].id), nullptr) << i;
        EXPECT_EQ(host::FindRegistration(items[i].id)->data, i);
    }
    for (int i = 0; i < 5; ++i) {
        ComposeEditor editor;
        editor.SetText("keep", 4, 4);
        editor.Choose(items[i].id);
        EXPECT_EQ(editor.Text(), std::string("keep") + texts[i]) << i;
    }
    DestroyMenu(menu);
}

TEST_F(MenuBuild, ValuesReadAsExactlyTheirStoredBytes) {
    // Written without a terminating NUL, with one, and with a NUL inside.
    WriteTextEntry("URL", 0, "タイトル末尾", "http://example.jp/末尾");
    WriteStoreBytes("URL\\URL1", nullptr, std::string("with NUL\0", 9));
    WriteStoreBytes("URL\\URL1", "URL", std::string("cut\0here", 8));
    std::string longText(5000, 'x');
    longText += "end";
    WriteTextEntry("URL", 2, "long", longText);
    HMENU menu = BuildComposeMenu();
    std::vector<MenuItem> items = ReadMenu(TextPopup(menu));
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].text, "タイトル末尾");
    EXPECT_EQ(items[1].text, "with NUL");
    EXPECT_EQ(InsertedText(items[0].id), "http://example.jp/末尾");
    EXPECT_EQ(InsertedText(items[1].id), "cut");
    EXPECT_EQ(InsertedText(items[2].id), longText);
    DestroyMenu(menu);
}

TEST_F(MenuBuild, EmptyMenuKeyGivesEmptyPopup) {
    RegCloseKey(CreateStoreKey("URL"));
    HMENU menu = BuildComposeMenu();
    HMENU popup = TextPopup(menu);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(GetMenuItemCount(popup), 0) << "no 無し item";
    DestroyMenu(menu);
}

// A volatile key cannot hold a non-volatile child, so a volatile parent makes
// the plug-in's key creation fail as an unreachable store does.
void MakeVolatileKey(const char* path) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
}

void ExpectUnavailableItemOnly(HMENU hostMenu) {
    std::vector<MenuItem> appended = ReadMenu(hostMenu);
    ASSERT_EQ(appended.size(), 4u) << "separator and popup, no address popup";
    HMENU popup = TextPopup(hostMenu);
    ASSERT_NE(popup, nullptr);
    std::vector<MenuItem> items = ReadMenu(popup);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].text, "無し");
    EXPECT_TRUE(items[0].state & MFS_GRAYED);
    EXPECT_EQ(items[0].id, 0u);
    EXPECT_EQ(items[0].submenu, nullptr);
}

TEST_F(MenuBuild, UnreachableMenuKeyGivesGrayedNone) {
    MakeVolatileKey("Software\\Ostrel\\Tevrix");
    HMENU menu = BuildComposeMenu();
    ExpectUnavailableItemOnly(menu);
    EXPECT_EQ(host::RegistrationCount(), 0u);
    DestroyMenu(menu);
}

TEST_F(MenuBuild, UnreachableRootGivesGrayedNoneAndNoAddressBook) {
    MakeVolatileKey("Software\\Ostrel");
    HMENU menu = BuildComposeMenu();
    ExpectUnavailableItemOnly(menu);
    DestroyMenu(menu);
}

TEST_F(MenuBuild, UseAddressAddsTheAddressPopup) {
    WriteStoreNumber("", "UseAddress", 1);
    HMENU menu = BuildComposeMenu(1);
    std::vector<MenuItem> items = ReadMenu(menu);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[2].text, "文字列を挿入");
    EXPECT_EQ(items[3].text, "ｱﾄﾞﾚｽ帳から挿入");
    EXPECT_NE(items[3].submenu, nullptr);
    DestroyMenu(menu);

    WriteStoreNumber("", "UseAddress", 0);
    menu = BuildComposeMenu(1);
    EXPECT_EQ(GetMenuItemCount(menu), 3);
    DestroyMenu(menu);
}

} // namespace
