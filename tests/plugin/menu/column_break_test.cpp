// Column breaks against the real menu metrics of the display the test runs on.
#include <gtest/gtest.h>

#include "host/host_stub.h"
#include "plugin/menu/column_break.h"
#include "tests/plugin/plugin_harness.h"
#include "store_reset.h"

namespace {

class ColumnBreaks : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(Plugin().module, nullptr);
        ResetStore();
        host::ForgetRegistrations();
        itemHeight = GetSystemMetrics(SM_CYMENUSIZE);
        screenHeight = GetSystemMetrics(SM_CYSCREEN);
        ASSERT_GT(itemHeight, 0);
        ASSERT_GT(screenHeight, itemHeight * 4);
    }
    void TearDown() override {
        Plugin().CleanUp();
        ResetStore();
    }
    // Entries in the first column of a popup; later columns hold one more.
    int FirstColumn() const { return screenHeight / itemHeight; }
    int itemHeight = 0;
    int screenHeight = 0;
};

std::vector<int> BreakPositions(const std::vector<MenuItem>& items, UINT flag) {
    std::vector<int> positions;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].type & flag)
            positions.push_back(static_cast<int>(i));
    return positions;
}

void WriteEntries(const std::string& menuPath, int count) {
    for (int i = 0; i < count; ++i)
        WriteTextEntry(menuPath, i, "entry " + std::to_string(i), "t");
}

TEST_F(ColumnBreaks, PopupColumnsWithoutDividingLines) {
    const int first = FirstColumn();
    const int count = first + 2 * (first + 1) + 3; // three full columns and a short fourth
    // Registry enumeration order is not numeric order, so the entries are
    // counted by position, whatever their names.
    WriteEntries("URL", count);
    HMENU menu = BuildComposeMenu();
    std::vector<MenuItem> items = ReadMenu(TextPopup(menu));
    ASSERT_EQ(static_cast<int>(items.size()), count);
    EXPECT_EQ(BreakPositions(items, MFT_MENUBREAK),
              (std::vector<int>{first, 2 * first + 1, 3 * first + 2}));
    EXPECT_TRUE(BreakPositions(items, MFT_MENUBARBREAK).empty());
    DestroyMenu(menu);
}

TEST_F(ColumnBreaks, SubmenuCountsItsOwnColumns) {
    const int first = FirstColumn();
    // The submenu item is the parent's first entry; its own entries start their
    // running height at 0.
    std::string sub = WriteSubmenuEntry("URL", 0, "sub");
    WriteEntries(sub, first + 1);
    HMENU menu = BuildComposeMenu();
    std::vector<MenuItem> top = ReadMenu(TextPopup(menu));
    ASSERT_EQ(top.size(), 1u);
    EXPECT_FALSE(top[0].type & MFT_MENUBREAK);
    std::vector<MenuItem> items = ReadMenu(top[0].submenu);
    EXPECT_EQ(BreakPositions(items, MFT_MENUBREAK), (std::vector<int>{first}));
    EXPECT_EQ(DataValues(TextPopup(menu)).size(), static_cast<size_t>(first + 1));
    DestroyMenu(menu);
}

TEST_F(ColumnBreaks, SeparatorStartsHostColumnWhenHalfHeightOverflows) {
    // Host items whose height plus half an item passes the screen.
    const int hostItems = (screenHeight - itemHeight / 2) / itemHeight + 1;
    HMENU menu = BuildComposeMenu(hostItems);
    std::vector<MenuItem> items = ReadMenu(menu);
    ASSERT_EQ(static_cast<int>(items.size()), hostItems + 2);
    EXPECT_EQ(BreakPositions(items, MFT_MENUBARBREAK), (std::vector<int>{hostItems}));
    EXPECT_TRUE(items[hostItems].type & MFT_SEPARATOR);
    DestroyMenu(menu);
}

TEST_F(ColumnBreaks, PopupItemStartsHostColumnWhenItOverflows) {
    // The separator still fits; the popup item does not.
    const int hostItems = (screenHeight - itemHeight / 2) / itemHeight;
    HMENU menu = BuildComposeMenu(hostItems);
    std::vector<MenuItem> items = ReadMenu(menu);
    ASSERT_EQ(static_cast<int>(items.size()), hostItems + 2);
    EXPECT_EQ(BreakPositions(items, MFT_MENUBARBREAK), (std::vector<int>{hostItems + 1}));
    EXPECT_EQ(items[hostItems + 1].text, "文字列を挿入");
    DestroyMenu(menu);
}

TEST_F(ColumnBreaks, AddressItemStartsHostColumnWhenItWouldOverflow) {
    WriteStoreNumber("", "UseAddress", 1);
    // Separator and text popup fit, the address item would not.
    const int hostItems = (screenHeight - itemHeight / 2) / itemHeight - 1;
    HMENU menu = BuildComposeMenu(hostItems);
    std::vector<MenuItem> items = ReadMenu(menu);
    ASSERT_EQ(static_cast<int>(items.size()), hostItems + 3);
    EXPECT_EQ(BreakPositions(items, MFT_MENUBARBREAK), (std::vector<int>{hostItems + 2}));
    DestroyMenu(menu);

    menu = BuildComposeMenu(hostItems - 1);
    EXPECT_TRUE(BreakPositions(ReadMenu(menu), MFT_MENUBARBREAK).empty());
    DestroyMenu(menu);
}

// The rule itself at the boundary the real screen rarely hits: a screen of
// exactly ten item heights.
TEST(ColumnRule, ScreenOfExactlyTenItemHeights) {
    const int item = 20, screen = 200;
    int running = 0;
    std::vector<int> starts;
    for (int entry = 1; entry <= 25; ++entry)
        if (AddItemStartsColumn(&running, item, screen))
            starts.push_back(entry);
    EXPECT_EQ(starts, (std::vector<int>{11, 22})) << "columns of 10, 11 and 4";

    // Twelve host items on a screen of twelve heights: the separator's half
    // height breaks, the popup item after it does not.
    running = 12 * item;
    EXPECT_TRUE(AddItemStartsColumn(&running, item / 2, 12 * item));
    EXPECT_FALSE(AddItemStartsColumn(&running, item, 12 * item));
}

} // namespace
