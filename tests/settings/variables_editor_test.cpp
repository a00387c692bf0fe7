// From the settings editor to the compose window with variables: the button
// "変数..." puts a variable's syntax at the string box's caret, the box on
// "その他" turns the variables on, and the real Tevrix.dll then fills them in.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_steps.h"
#include "menu_page_driver.h"
#include "menu_store_io.h"
#include "modal_closer.h"
#include "store_reset.h"
#include "tests/plugin/plugin_harness.h"

namespace {
const int kVariablesButton = 1101;
const int kUseVariablesBox = 1100;
const int kCursorItem = 7; // "カーソル位置" in the button's menu

std::vector<std::string> MenuTexts(HMENU menu) {
    std::vector<std::string> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = {};
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        texts.push_back(text);
    }
    return texts;
}

// Clicks "変数..." and chooses the item at index `choose` with the keyboard.
std::vector<std::string> ChooseFromVariablesMenu(HWND sheet, int choose) {
    std::vector<std::string> texts;
    bool posted = false;
    ModalCloser closer(
        [&] {
            HWND menuWindow = FindWindowA("#32768", nullptr);
            if (!menuWindow || posted)
                return;
            texts = MenuTexts(reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0)));
            for (int i = 0; i <= choose; ++i)
                PostMessageA(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageA(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
            posted = true;
        },
        50, 5000);
    ClickControl(MenuPage(sheet), kVariablesButton);
    return texts;
}
} // namespace

TEST(VariablesEditor, ButtonInsertsAtTheCaretAndThePluginFillsItIn) {
    ResetStore();
    WriteStoreMenu({TextEntry("挨拶", "Dear ,\r\n本文")});
    bool enabledWithoutEntry = true, enabledOnEntry = false;
    std::vector<std::string> texts;
    std::string box, checkBoxText;
    ASSERT_TRUE(RunSettingSheet({
        [&](HWND sheet) {
            enabledWithoutEntry = ControlEnabled(sheet, kVariablesButton);
            SelectItem(MenuTree(sheet), FindItem(MenuTree(sheet), {"挨拶"}));
            enabledOnEntry = ControlEnabled(sheet, kVariablesButton);
            SendDlgItemMessageA(MenuPage(sheet), kStringBoxId, EM_SETSEL, 5, 5);
        },
        [&](HWND sheet) {
            texts = ChooseFromVariablesMenu(sheet, kCursorItem);
            box = StringBoxText(sheet);
        },
        [&](HWND sheet) {
            SelectPage(sheet, 1);
            checkBoxText = DialogItemText(CurrentPage(sheet), kUseVariablesBox);
            ClickControl(CurrentPage(sheet), kUseVariablesBox);
        },
        [](HWND sheet) { PressSheetButton(sheet, PSBTN_OK); },
    }));
    EXPECT_FALSE(enabledWithoutEntry);
    EXPECT_TRUE(enabledOnEntry);
    ASSERT_GT(texts.size(), static_cast<size_t>(kCursorItem));
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    char today[64] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &now, nullptr, today, sizeof today);
    EXPECT_EQ(texts[0], std::string("日付 (") + today + ")\t{{date}}");
    EXPECT_EQ(texts[kCursorItem], "カーソル位置\t{{cursor}}");
    EXPECT_EQ(box, "Dear {{cursor}},\r\n本文");
    EXPECT_EQ(checkBoxText, "文字列の中の {{…}} を変数として置き換える");
    EXPECT_EQ(StoredRootNumber("UseVariables"), 1);

    HMENU menu = BuildComposeMenu();
    std::vector<MenuItem> items = ReadMenu(TextPopup(menu));
    DestroyMenu(menu);
    ASSERT_EQ(items.size(), 1u);
    ComposeEditor editor;
    editor.SetText("", 0, 0);
    editor.Choose(items[0].id);
    EXPECT_EQ(editor.Text(), "Dear ,\r\n本文");
    DWORD start = 0, end = 0;
    SendMessageA(editor.Edit(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 5u);
    EXPECT_EQ(end, 5u);
    Plugin().CleanUp();
    ResetStore();
}
