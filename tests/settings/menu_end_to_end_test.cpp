// From the settings editor to the compose window: the menu edited in the
// sheet of the real Vandry.dll is the menu that the real Tevrix.dll builds.
#include <gtest/gtest.h>

#include <algorithm>

#include "menu_description.h"
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

namespace {
std::string PluginMenu() {
    HMENU menu = BuildComposeMenu();
    std::string description = DescribePluginMenu(TextPopup(menu));
    DestroyMenu(menu);
    return description;
}

// The menu the editor's sheet shows; with ok, the sheet is closed with OK
// (which saves), else with Cancel.
std::string EditorMenu(bool ok) {
    std::string description = "(no sheet)";
    EXPECT_TRUE(RunSettingSheet(
        {[&](HWND sheet) { description = DescribeMenu(sheet); },
         [ok](HWND sheet) { PressSheetButton(sheet, ok ? PSBTN_OK : PSBTN_CANCEL); }}));
    return description;
}
} // namespace

TEST(MenuEndToEnd, LongLevelsKeepTheirOrderThroughBothLibrariesAndTwoSaves) {
    ResetStore();
    std::vector<StoreEntry> inner;
    for (int i = 0; i < 12; ++i)
        inner.push_back(TextEntry("S" + std::to_string(i), "text S" + std::to_string(i)));
    std::vector<StoreEntry> top;
    for (int i = 0; i < 24; ++i)
        top.push_back(i == 5 ? Submenu("E5", inner)
                             : TextEntry("E" + std::to_string(i), "text E" + std::to_string(i)));
    WriteStoreMenu(top);
    const std::string expected = DescribeMenu(top);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        EXPECT_EQ(PluginMenu(), expected);
        EXPECT_EQ(EditorMenu(true), expected);
    }
    EXPECT_EQ(PluginMenu(), expected);
    for (int i = 0; i < 24; ++i)
        EXPECT_EQ(ReadStoreString("URL\\URL" + std::to_string(i), nullptr),
                  "E" + std::to_string(i));
    Plugin().CleanUp();
}

TEST(MenuEndToEnd, BothLibrariesOrderKeysByTheNumberInTheirNames) {
    ResetStore();
    const std::vector<std::pair<std::string, std::string>> numbered = {
        {"URL0", "zero"},
        {"URL2", "two"},
        {"url3", "three"},
        {"URL007", "seven padded"},
        {"URL7", "seven"},
        {"URL10", "ten"},
        {"URL99999999999999999999999", "huge"}};
    const std::vector<std::pair<std::string, std::string>> others = {
        {"URL", "bare"},    {"Other", "other"},          {"URL1x", "suffix"},    {"URL-1", "minus"},
        {"URL 4", "space"}, {"ＵＲＬ5", "wide letters"}, {"URL５", "wide digit"}};
    for (const auto& names : {numbered, others}) {
        for (const auto& entry : names) {
            WriteStoreBytes("URL\\" + entry.first, nullptr, entry.second);
            WriteStoreBytes("URL\\" + entry.first, "URL", entry.second);
        }
    }
    // Equal numbers keep the registry's listing, which puts URL007 first.
    std::vector<std::string> listed = StoreKeyNames("URL");
    ASSERT_LT(std::find(listed.begin(), listed.end(), "URL007"),
              std::find(listed.begin(), listed.end(), "URL7"));
    std::string expected;
    for (const auto& entry : numbered)
        expected += (expected.empty() ? "" : "|") + entry.second + "=" + entry.second;
    for (const std::string& name : listed)
        for (const auto& entry : others)
            if (entry.first == name)
                expected += "|" + entry.second + "=" + entry.second;
    EXPECT_EQ(PluginMenu(), expected);
    EXPECT_EQ(EditorMenu(false), expected);
    Plugin().CleanUp();
}

TEST(MenuEndToEnd, KeyNamesAsLongAsTheRegistryAllowsAreRead) {
    ResetStore();
    std::string kanji;
    for (int i = 0; i < 255; ++i)
        kanji += "漢";
    ASSERT_EQ(kanji.size(), 510u);
    const std::string numbered = "URL" + std::string(251, '0') + "1";
    ASSERT_EQ(numbered.size(), 255u);
    WriteTextEntry("URL", 0, "first", "a");
    // Created below the menu's key: a path of more than 260 characters is
    // too long for Wine's ANSI registry functions.
    HKEY menu = CreateStoreKey("URL");
    for (const auto& entry : {std::make_pair(kanji, "kanji"), std::make_pair(numbered, "one")}) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(menu, entry.first.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(entry.second),
                       static_cast<DWORD>(strlen(entry.second)));
        RegCloseKey(key);
    }
    RegCloseKey(menu);
    const std::string expected = "first=a|one=|kanji=";
    EXPECT_EQ(PluginMenu(), expected);
    EXPECT_EQ(EditorMenu(false), expected);
    Plugin().CleanUp();
}

TEST(MenuEndToEnd, BothLibrariesReadTheWholeMenuWhereAnInterruptedSaveLeftIt) {
    const std::vector<StoreEntry> oldMenu = {TextEntry("A", "a"),
                                             Submenu("S", {TextEntry("B", "b")})};
    const std::vector<StoreEntry> newMenu = {TextEntry("N", "n")};
    const std::vector<StoreEntry> half = {TextEntry("half", "h")};
    struct Interrupted {
        const char* when;
        std::vector<std::pair<const char*, std::vector<StoreEntry>>> keys;
        std::string shown;
    } cases[] = {
        {"while the new menu was written",
         {{"URL", oldMenu}, {"URL.New", half}},
         DescribeMenu(oldMenu)},
        {"between the two renames",
         {{"URL.Old", oldMenu}, {"URL.New", newMenu}},
         DescribeMenu(oldMenu)},
        {"while the old menu was deleted",
         {{"URL", newMenu}, {"URL.Old", half}},
         DescribeMenu(newMenu)},
        {"in the first save of all", {{"URL.New", half}}, ""},
    };
    for (const Interrupted& interrupted : cases) {
        SCOPED_TRACE(interrupted.when);
        // The plug-in starts on what the interrupted save left, as in a new
        // session: its reader would otherwise read (and make an empty "URL"
        // in) the store while these keys are written one by one.
        Plugin().CleanUp();
        ResetStore();
        for (const auto& key : interrupted.keys)
            WriteStoreMenu(key.second, key.first);
        EXPECT_EQ(PluginMenu(), interrupted.shown);
        EXPECT_EQ(EditorMenu(true), interrupted.shown);
        // The save of OK finished or undid what was left: the store holds the
        // menu the editor showed, in its usual layout alone.
        EXPECT_EQ(StoreKeyNames(""), std::vector<std::string>{"URL"});
        EXPECT_EQ(PluginMenu(), interrupted.shown);
    }
    Plugin().CleanUp();
}
