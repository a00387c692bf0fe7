// The settings sheet from Vandry.dll, driven from inside its modal loop.
#include <gtest/gtest.h>

#include "dialog_steps.h"
#include "sheet_driver.h"
#include "store_reset.h"

#include <commctrl.h>

namespace {
const int kUseAddressBox = 1007;
const int kMenuTree = 1010;
const int kUsePickerBox = 1013;

// Shows "その他" so that its page reads the store and will take part in applying.
void OpenEtcPage(HWND sheet) {
    SelectPage(sheet, 1);
}
void TickUseAddress(HWND sheet) {
    ClickControl(CurrentPage(sheet), kUseAddressBox);
}
void PressOk(HWND sheet) {
    PressSheetButton(sheet, PSBTN_OK);
}
void PressApply(HWND sheet) {
    PressSheetButton(sheet, PSBTN_APPLYNOW);
}
void PressCancel(HWND sheet) {
    PressSheetButton(sheet, PSBTN_CANCEL);
}
} // namespace

TEST(SettingSheet, OpensUnownedOnTheMenuPage) {
    ResetStore();
    std::string caption, tab, checkBoxText;
    bool menuPageShown = false, owned = true;
    ASSERT_TRUE(RunSettingSheet({[&](HWND sheet) {
                                     owned = GetWindow(sheet, GW_OWNER) != nullptr;
                                     char text[64] = "";
                                     GetWindowTextA(sheet, text, sizeof text);
                                     caption = text;
                                     tab = CurrentTabTitle(sheet);
                                     menuPageShown = GetDlgItem(CurrentPage(sheet), kMenuTree);
                                 },
                                 OpenEtcPage,
                                 [&](HWND sheet) {
                                     char text[64] = "";
                                     GetDlgItemTextA(CurrentPage(sheet), kUseAddressBox, text,
                                                     sizeof text);
                                     checkBoxText = text;
                                 },
                                 PressCancel}));
    EXPECT_EQ(caption, "Tevrix 設定");
    EXPECT_FALSE(owned);
    EXPECT_EQ(checkBoxText, "アドレス帳からも入力する");
    EXPECT_EQ(tab, "メニュー");
    EXPECT_TRUE(menuPageShown);
}

TEST(SettingSheet, ApplyIsEnabledOnlyOnceTheBoxIsTicked) {
    ResetStore();
    bool enabledAtStart = true, enabledOnOtherPage = true, enabledAfterTick = false;
    std::string tab;
    ASSERT_TRUE(RunSettingSheet(
        {[&](HWND sheet) { enabledAtStart = ApplyEnabled(sheet); }, OpenEtcPage,
         [&](HWND sheet) {
             tab = CurrentTabTitle(sheet);
             enabledOnOtherPage = ApplyEnabled(sheet);
             TickUseAddress(sheet);
         },
         [&](HWND sheet) { enabledAfterTick = ApplyEnabled(sheet); }, PressCancel}));
    EXPECT_EQ(tab, "その他");
    EXPECT_FALSE(enabledAtStart);
    EXPECT_FALSE(enabledOnOtherPage);
    EXPECT_TRUE(enabledAfterTick);
}

TEST(SettingSheet, OkAfterOpeningTheOtherPageStoresTheClearBox) {
    ResetStore();
    ASSERT_TRUE(RunSettingSheet({OpenEtcPage, PressOk}));
    EXPECT_EQ(StoredUseAddress(), 0);
}

TEST(SettingSheet, OkWithTheBoxTickedStoresOne) {
    ResetStore();
    ASSERT_TRUE(RunSettingSheet({OpenEtcPage, TickUseAddress, PressOk}));
    EXPECT_EQ(StoredUseAddress(), 1);
}

TEST(SettingSheet, OkWithoutOpeningTheOtherPageWritesNothing) {
    ResetStore();
    ASSERT_TRUE(RunSettingSheet({PressOk}));
    EXPECT_EQ(StoredUseAddress(), -1);

    StoreUseAddress(1);
    ASSERT_TRUE(RunSettingSheet({PressOk}));
    EXPECT_EQ(StoredUseAddress(), 1);
}

TEST(SettingSheet, CancelAfterTickingWritesNothing) {
    ResetStore();
    ASSERT_TRUE(RunSettingSheet({OpenEtcPage, TickUseAddress, PressCancel}));
    EXPECT_EQ(StoredUseAddress(), -1);
}

TEST(SettingSheet, ApplyThenCancelKeepsWhatApplyWrote) {
    ResetStore();
    long long afterApply = -2;
    bool applyEnabledAfterApply = true;
    ASSERT_TRUE(RunSettingSheet({OpenEtcPage, TickUseAddress, PressApply,
                                 [&](HWND sheet) {
                                     afterApply = StoredUseAddress();
                                     applyEnabledAfterApply = ApplyEnabled(sheet);
                                 },
                                 PressCancel}));
    EXPECT_EQ(afterApply, 1);
    EXPECT_FALSE(applyEnabledAfterApply);
    EXPECT_EQ(StoredUseAddress(), 1);
}

TEST(SettingSheet, StoredValuesShowInTheBox) {
    ResetStore();
    StoreUseAddress(1);
    bool ticked = false;
    ASSERT_TRUE(RunSettingSheet(
        {OpenEtcPage, [&](HWND sheet) { ticked = IsChecked(CurrentPage(sheet), kUseAddressBox); },
         PressCancel}));
    EXPECT_TRUE(ticked);
}

TEST(SettingSheet, OutOfRangeValueShowsClearAndApplyingStoresZero) {
    ResetStore();
    StoreUseAddress(7);
    bool ticked = true;
    ASSERT_TRUE(RunSettingSheet({OpenEtcPage,
                                 [&](HWND sheet) {
                                     ticked = IsChecked(CurrentPage(sheet), kUseAddressBox);
                                     TickUseAddress(sheet);
                                 },
                                 TickUseAddress, PressApply, PressCancel}));
    EXPECT_FALSE(ticked);
    EXPECT_EQ(StoredUseAddress(), 0);
}

TEST(SettingSheet, OpensOnTheMenuPageAgainAfterClosingOnTheOther) {
    ResetStore();
    ASSERT_TRUE(RunSettingSheet({OpenEtcPage, PressCancel}));
    std::string tab;
    ASSERT_TRUE(RunSettingSheet({[&](HWND sheet) { tab = CurrentTabTitle(sheet); }, PressCancel}));
    EXPECT_EQ(tab, "メニュー");
}

TEST(SettingSheet, PickerBoxStoresUsePickerBesideUseAddress) {
    ResetStore();
    std::string text;
    ASSERT_TRUE(RunSettingSheet({OpenEtcPage,
                                 [&](HWND sheet) {
                                     text = DialogItemText(CurrentPage(sheet), kUsePickerBox);
                                     ClickControl(CurrentPage(sheet), kUsePickerBox);
                                 },
                                 PressOk}));
    EXPECT_EQ(text, "文字列を挿入に「検索して挿入...」を表示する");
    EXPECT_EQ(StoredRootNumber("UsePicker"), 1);
    EXPECT_EQ(StoredUseAddress(), 0) << "the address box keeps its own value";

    bool ticked = false, addressTicked = true;
    ASSERT_TRUE(RunSettingSheet({OpenEtcPage,
                                 [&](HWND sheet) {
                                     ticked = IsChecked(CurrentPage(sheet), kUsePickerBox);
                                     addressTicked = IsChecked(CurrentPage(sheet), kUseAddressBox);
                                     ClickControl(CurrentPage(sheet), kUsePickerBox);
                                 },
                                 PressCancel}));
    EXPECT_TRUE(ticked);
    EXPECT_FALSE(addressTicked);
    EXPECT_EQ(StoredRootNumber("UsePicker"), 1) << "Cancel writes nothing";
}
