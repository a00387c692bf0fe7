// Property sheets: which pages take part in applying, the changed mark and
// Apply, and data exchange as pages come and go.
#include <gtest/gtest.h>

#include "framework/property_sheet.h"
#include "dialog_steps.h"
#include "modal_closer.h"
#include "test_resources.h"

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace {
const int kApplyButtonId = 0x3021;

class CountingPage : public CPropertyPage {
  public:
    explicit CountingPage(UINT templateId, UINT captionId = 0)
        : CPropertyPage(templateId, captionId) {}
    int initCount = 0;
    int applyCount = 0;
    int resetCount = 0;
    BOOL acceptApply = TRUE;
    std::string m_text;
    int m_check = 0;

    using CPropertyPage::SetModified;

  protected:
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Text(dx, IDC_TEST_EDIT, m_text);
        DDX_Check(dx, IDC_TEST_CHECK, m_check);
    }
    BOOL OnInitDialog() override {
        ++initCount;
        return CPropertyPage::OnInitDialog();
    }
    BOOL OnApply() override {
        ++applyCount;
        return acceptApply && CPropertyPage::OnApply();
    }
    void OnReset() override {
        ++resetCount;
        CPropertyPage::OnReset();
    }
};

struct ThreePageSheet {
    CountingPage first{IDD_TEST_PAGE};
    CountingPage second{IDD_SECOND_PAGE, IDS_TAB_TITLE};
    CountingPage third{IDD_THIRD_PAGE};
    CPropertySheet sheet;

    explicit ThreePageSheet(UINT startPage = 0) : sheet(IDS_TEST_CAPTION, nullptr, startPage) {
        sheet.AddPage(&first);
        sheet.AddPage(&second);
        sheet.AddPage(&third);
    }

    // Runs the sheet, one action per timer tick. True when the actions closed it.
    bool Run(const std::vector<std::function<void(HWND)>>& actions) {
        size_t next = 0;
        ModalCloser closer([&] {
            HWND window = FindThreadWindow("#32770");
            if (window && next < actions.size())
                actions[next++](window);
        });
        sheet.DoModal();
        return !closer.TimedOut() && next == actions.size();
    }
};

HWND CurrentPage(HWND sheet) {
    return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

bool ApplyEnabled(HWND sheet) {
    return IsWindowEnabled(GetDlgItem(sheet, kApplyButtonId));
}

std::function<void(HWND)> Press(int button) {
    return [button](HWND sheet) { SendMessageA(sheet, PSM_PRESSBUTTON, button, 0); };
}

std::function<void(HWND)> Select(int page) {
    return [page](HWND sheet) { SendMessageA(sheet, PSM_SETCURSEL, page, 0); };
}
} // namespace

TEST(SheetPages, CaptionTabsAndButtons) {
    ThreePageSheet pages;
    std::string caption;
    std::vector<std::string> tabs;
    bool applyShown = false, applyEnabled = true, helpShown = true;
    ASSERT_TRUE(pages.Run({[&](HWND sheet) {
                               char text[64] = "";
                               GetWindowTextA(sheet, text, sizeof text);
                               caption = text;
                               for (int i = 0; i < 3; ++i)
                                   tabs.push_back(SheetTabTitle(sheet, i));
                               HWND apply = GetDlgItem(sheet, kApplyButtonId);
                               applyShown = apply && IsWindowVisible(apply);
                               applyEnabled = ApplyEnabled(sheet);
                               HWND help = GetDlgItem(sheet, IDHELP);
                               helpShown = help && IsWindowVisible(help);
                           },
                           Press(PSBTN_CANCEL)}));
    EXPECT_EQ(caption, "試験 シート");
    EXPECT_EQ(tabs, (std::vector<std::string>{"一", "別名", "三"}));
    EXPECT_TRUE(applyShown);
    EXPECT_FALSE(applyEnabled);
    EXPECT_FALSE(helpShown);
}

TEST(SheetPages, OkAppliesOnlyPagesThatWereShown) {
    ThreePageSheet pages;
    ASSERT_TRUE(pages.Run({Select(2), Press(PSBTN_OK)}));
    EXPECT_EQ(pages.first.initCount, 1);
    EXPECT_EQ(pages.second.initCount, 0);
    EXPECT_EQ(pages.third.initCount, 1);
    EXPECT_EQ(pages.first.applyCount, 1);
    EXPECT_EQ(pages.second.applyCount, 0);
    EXPECT_EQ(pages.third.applyCount, 1);
}

TEST(SheetPages, CancelAppliesNothing) {
    ThreePageSheet pages;
    ASSERT_TRUE(pages.Run({Select(1), Press(PSBTN_CANCEL)}));
    EXPECT_EQ(pages.first.applyCount + pages.second.applyCount + pages.third.applyCount, 0);
    EXPECT_EQ(pages.second.initCount, 1);
}

TEST(SheetPages, StartPageIsTheFirstShown) {
    ThreePageSheet pages(1);
    std::string tab;
    ASSERT_TRUE(pages.Run({[&](HWND sheet) { tab = SheetTabTitle(sheet); }, Press(PSBTN_OK)}));
    EXPECT_EQ(tab, "別名");
    EXPECT_EQ(pages.first.initCount, 0);
    EXPECT_EQ(pages.second.applyCount, 1);
}

TEST(SheetPages, ChangedMarkEnablesApplyAndApplyingClearsIt) {
    ThreePageSheet pages;
    bool afterMark = false, afterUnmark = true, afterApply = true;
    ASSERT_TRUE(
        pages.Run({[&](HWND sheet) {
                       pages.first.SetModified(TRUE);
                       afterMark = ApplyEnabled(sheet);
                       pages.first.SetModified(FALSE);
                       afterUnmark = ApplyEnabled(sheet);
                       pages.first.SetModified();
                   },
                   Press(PSBTN_APPLYNOW), [&](HWND sheet) { afterApply = ApplyEnabled(sheet); },
                   Press(PSBTN_CANCEL)}));
    EXPECT_TRUE(afterMark);
    EXPECT_FALSE(afterUnmark);
    EXPECT_FALSE(afterApply);
    EXPECT_EQ(pages.first.applyCount, 1);
}

TEST(SheetPages, RefusedApplyKeepsTheSheetOpen) {
    ThreePageSheet pages;
    pages.first.acceptApply = FALSE;
    bool openAfterOk = false;
    ASSERT_TRUE(pages.Run({Press(PSBTN_OK),
                           [&](HWND sheet) {
                               openAfterOk = IsWindowVisible(sheet);
                               pages.first.acceptApply = TRUE;
                           },
                           Press(PSBTN_CANCEL)}));
    EXPECT_TRUE(openAfterOk);
    EXPECT_EQ(pages.first.applyCount, 1);
    EXPECT_EQ(pages.first.resetCount, 1);
}

TEST(SheetPages, PagesExchangeDataWhenShownAndLeft) {
    ThreePageSheet pages;
    pages.first.m_text = "最初";
    pages.second.m_check = 1;
    std::string firstShown;
    bool secondTicked = false;
    ASSERT_TRUE(pages.Run({[&](HWND sheet) {
                               char text[64] = "";
                               HWND page = CurrentPage(sheet);
                               GetDlgItemTextA(page, IDC_TEST_EDIT, text, sizeof text);
                               firstShown = text;
                               SetDlgItemTextA(page, IDC_TEST_EDIT, "入力");
                           },
                           Select(1),
                           [&](HWND sheet) {
                               secondTicked =
                                   IsDlgButtonChecked(CurrentPage(sheet), IDC_TEST_CHECK) != 0;
                           },
                           Press(PSBTN_CANCEL)}));
    EXPECT_EQ(firstShown, "最初");
    EXPECT_TRUE(secondTicked);
    // Leaving a page moves its controls into its members.
    EXPECT_EQ(pages.first.m_text, "入力");
}
