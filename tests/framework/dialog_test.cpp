// Modal dialogs: data exchange in both directions and event-table dispatch.
#include <gtest/gtest.h>

#include "framework/dialog.h"
#include "framework/tree_ctrl.h"
#include "dialog_steps.h"
#include "test_resources.h"

#include <string>
#include <vector>

namespace {
class ExchangeDialog : public CDialog {
  public:
    ExchangeDialog() : CDialog(IDD_TEST_DIALOG) {}
    std::string m_text;
    int m_check = 0;
    CTreeCtrl m_tree;

  protected:
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Text(dx, IDC_TEST_EDIT, m_text);
        DDX_Check(dx, IDC_TEST_CHECK, m_check);
        DDX_Control(dx, IDC_TEST_TREE, m_tree);
    }
};

INT_PTR RunDialog(CDialog& dialog, const std::function<void(HWND)>& step) {
    return RunModalWithStep([&] { return dialog.DoModal(); }, step);
}

} // namespace

TEST(DataExchange, MembersGoToControlsAtInitAndBackOnOk) {
    ExchangeDialog dialog;
    dialog.m_text = "初期値 text";
    dialog.m_check = 1;
    std::string shownText;
    bool shownTicked = false;
    bool treeBound = false;
    INT_PTR result = RunDialog(dialog, [&](HWND window) {
        shownText = DialogItemText(window, IDC_TEST_EDIT);
        shownTicked = IsDlgButtonChecked(window, IDC_TEST_CHECK) == BST_CHECKED;
        treeBound = dialog.m_tree.m_hWnd == GetDlgItem(window, IDC_TEST_TREE);
        SetDlgItemTextA(window, IDC_TEST_EDIT, "変更後");
        CheckDlgButton(window, IDC_TEST_CHECK, BST_UNCHECKED);
        ClickButton(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(shownText, "初期値 text");
    EXPECT_TRUE(shownTicked);
    EXPECT_TRUE(treeBound);
    EXPECT_EQ(dialog.m_text, "変更後");
    EXPECT_EQ(dialog.m_check, 0);
}

TEST(DataExchange, CancelLeavesMembersAlone) {
    ExchangeDialog dialog;
    dialog.m_text = "kept";
    INT_PTR result = RunDialog(dialog, [&](HWND window) {
        SetDlgItemTextA(window, IDC_TEST_EDIT, "typed");
        CheckDlgButton(window, IDC_TEST_CHECK, BST_CHECKED);
        ClickButton(window, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dialog.m_text, "kept");
    EXPECT_EQ(dialog.m_check, 0);
}

TEST(DataExchange, LongTextAndOutOfRangeCheckState) {
    ExchangeDialog dialog;
    for (int i = 0; i < 1500; ++i)
        dialog.m_text += "字";
    dialog.m_check = 7;
    bool shownTicked = true;
    std::string afterRoundTrip;
    RunDialog(dialog, [&](HWND window) {
        shownTicked = IsDlgButtonChecked(window, IDC_TEST_CHECK) != BST_UNCHECKED;
        ClickButton(window, IDOK);
    });
    EXPECT_FALSE(shownTicked);
    EXPECT_EQ(dialog.m_check, 0);
    EXPECT_EQ(dialog.m_text.size(), 3000u);
    EXPECT_EQ(dialog.m_text.substr(0, 2), "字");
}

namespace {
class EventDialog : public CDialog {
  public:
    EventDialog() : CDialog(IDD_TEST_DIALOG) {}
    std::vector<std::string> calls;
    CPoint movePoint;
    UINT moveFlags = 0;
    UINT notifyCode = 0;

  protected:
    void OnButton() { calls.push_back("button"); }
    void OnEditChange() { calls.push_back("edit"); }
    void OnTreeSelChanged(NMHDR* header, LRESULT* result) {
        calls.push_back("tree");
        notifyCode = header->code;
        *result = 7;
    }
    void OnMouseMove(UINT flags, CPoint point) {
        calls.push_back("move");
        moveFlags = flags;
        movePoint = point;
    }
    void OnLButtonUp(UINT, CPoint) {
        calls.push_back("up");
        Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(EventDialog, CDialog)
ON_BN_CLICKED(IDC_TEST_BUTTON, OnButton)
ON_EN_CHANGE(IDC_TEST_EDIT, OnEditChange)
ON_NOTIFY(TVN_SELCHANGEDA, IDC_TEST_TREE, OnTreeSelChanged)
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

class DerivedEventDialog : public EventDialog {
  protected:
    void OnCheck() { calls.push_back("check"); }
    void OnOkInstead() { calls.push_back("ok"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedEventDialog, EventDialog)
ON_BN_CLICKED(IDC_TEST_CHECK, OnCheck)
ON_BN_CLICKED(IDOK, OnOkInstead)
END_MESSAGE_MAP()
} // namespace

TEST(EventTable, ControlsReachTheirHandlers) {
    EventDialog dialog;
    std::vector<std::string> afterButton, afterEdit, afterTree;
    LRESULT answer = 0;
    RunDialog(dialog, [&](HWND window) {
        SendMessageA(GetDlgItem(window, IDC_TEST_BUTTON), BM_CLICK, 0, 0);
        afterButton = dialog.calls;
        SetDlgItemTextA(window, IDC_TEST_EDIT, "x");
        afterEdit = dialog.calls;

        CTreeCtrl tree;
        tree.m_hWnd = GetDlgItem(window, IDC_TEST_TREE);
        HTREEITEM item = tree.InsertItem("item", 0, 0);
        dialog.calls.clear();
        tree.SelectItem(item);
        afterTree = dialog.calls;

        NMHDR header{tree.m_hWnd, IDC_TEST_TREE, TVN_SELCHANGEDA};
        answer = SendMessageA(window, WM_NOTIFY, IDC_TEST_TREE, reinterpret_cast<LPARAM>(&header));
        ClickButton(window, IDCANCEL);
    });
    EXPECT_EQ(afterButton, std::vector<std::string>{"button"});
    EXPECT_EQ(afterEdit, (std::vector<std::string>{"button", "edit"}));
    EXPECT_EQ(afterTree, std::vector<std::string>{"tree"});
    EXPECT_EQ(dialog.notifyCode, static_cast<UINT>(TVN_SELCHANGEDA));
    EXPECT_EQ(answer, 7); // the handler's answer is the message's result
}

TEST(EventTable, OnlyMatchingCodeAndIdDispatch) {
    EventDialog dialog;
    RunDialog(dialog, [&](HWND window) {
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_TEST_BUTTON, BN_DOUBLECLICKED), 0);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_TEST_CHECK, BN_CLICKED), 0);
        NMHDR otherId{nullptr, IDC_TEST_EDIT, TVN_SELCHANGEDA};
        SendMessageA(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&otherId));
        NMHDR otherCode{nullptr, IDC_TEST_TREE, TVN_SELCHANGINGA};
        SendMessageA(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&otherCode));
        ClickButton(window, IDCANCEL);
    });
    EXPECT_TRUE(dialog.calls.empty());
}

TEST(EventTable, MouseMessagesCarryFlagsAndSignedPoints) {
    EventDialog dialog;
    BOOL upHandledByDialog = TRUE;
    RunDialog(dialog, [&](HWND window) {
        SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-5, 12));
        // The handler asks for the default handling, so the dialog procedure
        // reports the message as not handled.
        auto procedure = reinterpret_cast<DLGPROC>(GetWindowLongPtrA(window, DWLP_DLGPROC));
        upHandledByDialog = static_cast<BOOL>(procedure(window, WM_LBUTTONUP, 0, MAKELPARAM(1, 1)));
        ClickButton(window, IDCANCEL);
    });
    EXPECT_EQ(dialog.calls, (std::vector<std::string>{"move", "up"}));
    EXPECT_EQ(dialog.moveFlags, static_cast<UINT>(MK_LBUTTON));
    EXPECT_EQ(dialog.movePoint.x, -5);
    EXPECT_EQ(dialog.movePoint.y, 12);
    EXPECT_FALSE(upHandledByDialog);
}

TEST(EventTable, DerivedTableComesFirstThenTheBase) {
    DerivedEventDialog dialog;
    bool stillOpenAfterOk = false;
    INT_PTR result = RunDialog(dialog, [&](HWND window) {
        ClickButton(window, IDC_TEST_CHECK);
        ClickButton(window, IDC_TEST_BUTTON);
        ClickButton(window, IDOK); // the derived table takes OK: the dialog stays open
        stillOpenAfterOk = IsWindow(window) && IsWindowVisible(window);
        ClickButton(window, IDCANCEL);
    });
    EXPECT_EQ(dialog.calls, (std::vector<std::string>{"check", "button", "ok"}));
    EXPECT_TRUE(stillOpenAfterOk);
    EXPECT_EQ(result, IDCANCEL);
}
