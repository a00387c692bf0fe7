// Find on the menu page: Ctrl+F and F3 from the keyboard, the system's Find
// dialog worked through its own keys inside the sheet's loop, the search in
// tree order with wrap-around, and a pending edit that the found entry's
// selection keeps.
#include <gtest/gtest.h>

#include "dialog_steps.h"
#include "menu_page_driver.h"
#include "menu_store_io.h"
#include "store_reset.h"

namespace {
// Controls of the system's Find dialog.
const int kFindWhat = 0x480;
const int kMatchCase = 0x411;
const int kUpward = 0x420;

struct OwnedDialog {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindOwnedDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<OwnedDialog*>(param);
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (IsWindowVisible(window) && lstrcmpA(name, "#32770") == 0 &&
        GetWindow(window, GW_OWNER) == search->owner)
        search->found = window;
    return search->found == nullptr;
}

HWND FindDialogOf(HWND sheet) {
    OwnedDialog search{sheet, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), FindOwnedDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void SetControlKey(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

// Keys reach the window through the sheet's own message loop, one action
// later, as typed keys do.
void PostKey(HWND window, UINT key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

SheetAction CtrlF(HWND* target) {
    return [target](HWND sheet) {
        SetControlKey(true);
        PostKey(*target ? *target : MenuTree(sheet), 'F');
    };
}

// Types the words into the Find dialog, sets its options and presses Enter
// in its edit box.
SheetAction FindFromDialog(std::string what, bool matchCase, bool upward) {
    return [=](HWND sheet) {
        SetControlKey(false);
        HWND dialog = FindDialogOf(sheet);
        ASSERT_NE(dialog, nullptr) << "Ctrl+F opened the Find dialog";
        SetDlgItemTextA(dialog, kFindWhat, what.c_str());
        CheckDlgButton(dialog, kMatchCase, matchCase ? BST_CHECKED : BST_UNCHECKED);
        CheckRadioButton(dialog, kUpward, kUpward + 1, upward ? kUpward : kUpward + 1);
        PostKey(GetDlgItem(dialog, kFindWhat), VK_RETURN);
    };
}

SheetAction F3() {
    return [](HWND sheet) { PostKey(MenuTree(sheet), VK_F3); };
}

std::string SelectedTitle(HWND sheet) {
    HTREEITEM item = SelectedItem(MenuTree(sheet));
    return item ? ReadItem(MenuTree(sheet), item).title : "(none)";
}

SheetAction Expect(std::vector<std::string>* seen) {
    return [seen](HWND sheet) { seen->push_back(SelectedTitle(sheet)); };
}
} // namespace

TEST(MenuPageFind, FindsInTreeOrderWrapsAndKeepsThePendingEdit) {
    ResetStore();
    WriteStoreMenu({TextEntry("alpha", "x"),
                    Submenu("S", {TextEntry("beta", "find me"),
                                  Submenu("S2", {TextEntry("ガンマ", "FIND me too")})}),
                    TextEntry("delta", "y")});
    std::vector<std::string> seen;
    bool expandedS = false, expandedS2 = false, stringBoxShowsBeta = false;
    HWND stringBox = nullptr, findDialog = nullptr;
    std::string notFound;
    ASSERT_TRUE(RunMenuSheet(
        {[&](HWND sheet) {
             SelectItem(MenuTree(sheet), FindItem(MenuTree(sheet), {"alpha"}));
             TypeInStringBox(sheet, "find in alpha's edit");
             stringBox = GetDlgItem(MenuPage(sheet), kStringBoxId);
         },
         // Ctrl+F in the string box: the pending edit matches first but the
         // search starts after the selection.
         CtrlF(&stringBox), FindFromDialog("find", false, false),
         [&](HWND sheet) {
             seen.push_back(SelectedTitle(sheet));
             HWND tree = MenuTree(sheet);
             expandedS = ReadItem(tree, FindItem(tree, {"S"})).expanded;
             stringBoxShowsBeta = StringBoxText(sheet) == "find me";
         },
         F3(),
         [&](HWND sheet) {
             seen.push_back(SelectedTitle(sheet));
             expandedS2 =
                 ReadItem(MenuTree(sheet), FindItem(MenuTree(sheet), {"S", "S2"})).expanded;
         },
         F3(), Expect(&seen), // past the end: round to alpha's kept edit
         F3(), Expect(&seen),
         // Match case finds only the capitals, and comes round to the same entry.
         FindFromDialog("FIND", true, false), Expect(&seen), F3(), Expect(&seen),
         // Upwards from ガンマ with any case.
         FindFromDialog("find", false, true), Expect(&seen),
         // Words no entry holds: a message, and the selection stays.
         FindFromDialog("zzz", false, false),
         [&](HWND box) {
             notFound = DialogItemText(box, 0xFFFF);
             SendMessageA(box, WM_COMMAND, IDOK, 0);
         },
         Expect(&seen),
         // Escape in the Find dialog closes it through the sheet's loop.
         [&](HWND sheet) {
             findDialog = FindDialogOf(sheet);
             PostKey(GetDlgItem(findDialog, kFindWhat), VK_ESCAPE);
         },
         [&](HWND) { EXPECT_FALSE(IsWindow(findDialog)); },
         [&](HWND sheet) { PressSheetButton(sheet, PSBTN_OK); }}));
    EXPECT_EQ(seen, (std::vector<std::string>{"beta", "ガンマ", "alpha", "beta", "ガンマ", "ガンマ",
                                              "beta", "beta"}));
    EXPECT_EQ(notFound, "「zzz」は見つかりませんでした。");
    EXPECT_TRUE(expandedS);
    EXPECT_TRUE(expandedS2);
    EXPECT_TRUE(stringBoxShowsBeta);
    std::vector<StoreEntry> stored;
    ASSERT_TRUE(ReadStoreMenu(&stored));
    ASSERT_FALSE(stored.empty());
    EXPECT_EQ(stored[0].text, "find in alpha's edit") << "the pending edit went into alpha";
}

TEST(MenuPageFind, TheFindDialogClosesWithTheSheet) {
    ResetStore();
    WriteStoreMenu({TextEntry("alpha", "x")});
    HWND findDialog = nullptr, none = nullptr;
    ASSERT_TRUE(RunMenuSheet({CtrlF(&none),
                              [&](HWND sheet) {
                                  SetControlKey(false);
                                  findDialog = FindDialogOf(sheet);
                              },
                              [&](HWND sheet) { PressSheetButton(sheet, PSBTN_CANCEL); }}));
    EXPECT_NE(findDialog, nullptr);
    EXPECT_FALSE(IsWindow(findDialog));
}
