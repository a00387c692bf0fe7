// The plug-in's menu build over the hostile store: every entry reads as the
// store's rules say, and nothing of it crashes, hangs or loses a text.
#include <gtest/gtest.h>

#include "host/host_stub.h"
#include "hostile_store.h"
#include "store_reset.h"
#include "tests/plugin/plugin_harness.h"

namespace {

class PluginHostileStore : public ::testing::Test {
  protected:
    // The store takes seconds to write, so the whole suite shares one.
    static void SetUpTestSuite() {
        ResetStore();
        hostile::WriteHostileStore();
    }
    static void TearDownTestSuite() { ResetStore(); }

    void SetUp() override {
        ASSERT_NE(Plugin().module, nullptr);
        host::ForgetRegistrations();
        menu_ = BuildComposeMenu();
        popup_ = TextPopup(menu_);
        ASSERT_NE(popup_, nullptr);
        top_ = ReadMenu(popup_);
    }
    void TearDown() override {
        Plugin().CleanUp();
        DestroyMenu(menu_);
    }

    const MenuItem& Top(const char* title) {
        for (const MenuItem& item : top_)
            if (item.text == title)
                return item;
        ADD_FAILURE() << "no item " << title;
        static MenuItem none = {};
        return none;
    }

    HMENU menu_ = nullptr;
    HMENU popup_ = nullptr;
    std::vector<MenuItem> top_;
};

TEST_F(PluginHostileStore, TopLevelInNumberOrderWithoutTheUnopenableKey) {
    std::vector<std::string> titles;
    for (const MenuItem& item : top_)
        titles.push_back(item.text);
    EXPECT_EQ(titles, (std::vector<std::string>{"type string", "type binary", "type short binary",
                                                "url number", "megabyte", "NUL", "wide", "deep"}));
}

TEST_F(PluginHostileStore, UnopenableKeyCannotBeOpenedByName) {
    // The premise of the test above: the key is enumerated, yet the name the
    // ANSI enumeration gives cannot be opened.
    HKEY menu = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Ostrel\\Tevrix\\URL", 0, KEY_READ, &menu),
              ERROR_SUCCESS);
    char name[256];
    DWORD length = sizeof name;
    ASSERT_EQ(RegEnumKeyExA(menu, hostile::kUnopenableListed, name, &length, nullptr, nullptr,
                            nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(std::string(name, 4), "URL5");
    HKEY entry = nullptr;
    EXPECT_NE(RegOpenKeyExA(menu, name, 0, KEY_READ, &entry), ERROR_SUCCESS);
    RegCloseKey(menu);
}

TEST_F(PluginHostileStore, TypeCountsOnlyAsAFourByteNumber) {
    const MenuItem& asString = Top("type string");
    const MenuItem& asBinary = Top("type binary");
    const MenuItem& shortBinary = Top("type short binary");
    EXPECT_EQ(asString.submenu, nullptr) << "the string \"1\" is not the number 1";
    EXPECT_EQ(shortBinary.submenu, nullptr) << "one byte is no 4-byte number";
    ASSERT_NE(asBinary.submenu, nullptr) << "four bytes 01 00 00 00 are the number 1";
    std::vector<MenuItem> inside = ReadMenu(asBinary.submenu);
    ASSERT_EQ(inside.size(), 1u);
    EXPECT_EQ(inside[0].text, "under binary type");
    // Choosing an entry tears the popups down, so the menus are read first.
    EXPECT_EQ(InsertedText(asString.id), "string type text");
    EXPECT_EQ(InsertedText(shortBinary.id), "short binary text");
    EXPECT_EQ(InsertedText(inside[0].id), "child text");
}

TEST_F(PluginHostileStore, StringsAreTheirStoredBytesCutAtTheFirstNul) {
    EXPECT_EQ(InsertedText(Top("url number").id), "1234") << "the number's four bytes";
    EXPECT_EQ(InsertedText(Top("NUL").id), "before");
}

TEST_F(PluginHostileStore, MegabyteTextIsInsertedWhole) {
    ComposeEditor editor;
    // The host's editor takes any length; the plug-in sends the text in one go.
    SendMessageA(editor.Edit(), EM_SETLIMITTEXT, 0, 0);
    editor.SetText("[]", 1, 1);
    ASSERT_TRUE(editor.Choose(Top("megabyte").id));
    std::string text = editor.Text();
    ASSERT_EQ(text.size(), hostile::MegabyteText().size() + 2);
    EXPECT_TRUE(text == "[" + hostile::MegabyteText() + "]");
}

TEST_F(PluginHostileStore, WideMenuHoldsEveryEntryInColumns) {
    const MenuItem& wide = Top("wide");
    ASSERT_NE(wide.submenu, nullptr);
    std::vector<MenuItem> items = ReadMenu(wide.submenu);
    ASSERT_EQ(items.size(), static_cast<size_t>(hostile::kWideEntries));
    std::vector<bool> seen(hostile::kWideEntries);
    int columns = 1;
    LPARAM firstData = host::FindRegistration(items[0].id)->data;
    for (size_t position = 0; position < items.size(); ++position) {
        const MenuItem& item = items[position];
        ASSERT_EQ(item.text.compare(0, 4, "item"), 0) << position;
        int number = std::stoi(item.text.substr(4));
        ASSERT_FALSE(seen[number]) << item.text;
        seen[number] = true;
        const host::Registration* registration = host::FindRegistration(item.id);
        ASSERT_NE(registration, nullptr) << item.text;
        EXPECT_EQ(registration->data, firstData + static_cast<LPARAM>(position));
        if (item.type & MFT_MENUBREAK)
            ++columns;
    }
    EXPECT_GT(columns, 100) << "a 768-pixel screen holds some dozens of items per column";
    for (size_t position : {size_t{0}, size_t{4321}, items.size() - 1})
        EXPECT_EQ(InsertedText(items[position].id), "text" + items[position].text.substr(4));
}

TEST_F(PluginHostileStore, DeepMenuNestsToTheBoundAndListsTheRest) {
    const MenuItem& deep = Top("deep");
    ASSERT_NE(deep.submenu, nullptr);
    // Popup levels: "文字列を挿入" is 1, "deep" holds level1 at 2.
    int menuLevel = 2;
    HMENU menu = deep.submenu;
    std::vector<MenuItem> items = ReadMenu(menu);
    while (items.size() == 1 && items[0].submenu) {
        EXPECT_EQ(items[0].text, "level" + std::to_string(menuLevel - 1));
        menu = items[0].submenu;
        items = ReadMenu(menu);
        ++menuLevel;
    }
    EXPECT_EQ(menuLevel, 20) << "submenus nest 20 levels deep, the popup included";
    // The last level lists everything below it: the submenus as grayed
    // headings, then the bottom entry, which inserts its text.
    ASSERT_EQ(items.size(), static_cast<size_t>(hostile::kNestingDepth - menuLevel + 2));
    for (size_t i = 0; i + 1 < items.size(); ++i) {
        EXPECT_EQ(items[i].text, "level" + std::to_string(menuLevel - 1 + i));
        EXPECT_TRUE(items[i].state & MFS_GRAYED);
        EXPECT_EQ(host::FindRegistration(items[i].id), nullptr);
    }
    EXPECT_EQ(items.back().text, "bottom");
    EXPECT_EQ(InsertedText(items.back().id), "bottom text");
}

TEST_F(PluginHostileStore, EveryDataValueHasItsTextAndTheyRunOn) {
    std::vector<LPARAM> values = DataValues(popup_);
    // type string, under binary type, short binary, url number, megabyte, NUL,
    // the wide menu and the deep menu's bottom entry.
    ASSERT_EQ(values.size(), static_cast<size_t>(7 + hostile::kWideEntries));
    for (size_t i = 0; i < values.size(); ++i)
        ASSERT_EQ(values[i], static_cast<LPARAM>(i));
}

TEST_F(PluginHostileStore, RebuildAfterCleanUpGivesTheSameMenu) {
    size_t firstBuild = host::RegistrationCount();
    Plugin().CleanUp();
    HMENU again = BuildComposeMenu();
    std::vector<MenuItem> top = ReadMenu(TextPopup(again));
    ASSERT_EQ(top.size(), top_.size());
    for (size_t i = 0; i < top.size(); ++i)
        EXPECT_EQ(top[i].text, top_[i].text);
    EXPECT_EQ(host::RegistrationCount(), 2 * firstBuild);
    EXPECT_EQ(InsertedText(ReadMenu(TextPopup(again))[3].id), "1234");
    DestroyMenu(again);
}

} // namespace
