// The common Open dialog with its hook: initialisation and OK reach the object.
#include <gtest/gtest.h>

#include "framework/file_dialog.h"
#include "dialog_steps.h"

#include <cstring>
#include <functional>
#include <string>

namespace {
const int kFileNameField = 1152;

class HookedDialog : public CFileDialog {
  public:
    HookedDialog(bool classic, bool endOnOk)
        : CFileDialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY), endOnOk_(endOnOk) {
        if (classic)
            m_ofn.Flags &= ~OFN_EXPLORER;
    }
    int inits = 0;
    int oks = 0;
    HWND initWindow = nullptr;

  protected:
    BOOL OnInitDialog() override {
        ++inits;
        initWindow = m_hWnd;
        return TRUE;
    }
    void OnOK() override {
        ++oks;
        if (endOnOk_)
            EndDialog(IDOK);
        else
            CFileDialog::OnOK();
    }

  private:
    bool endOnOk_;
};

INT_PTR RunDialog(CFileDialog& dialog, const std::function<void(HWND)>& step) {
    return RunModalWithStep([&] { return dialog.DoModal(); }, step);
}

} // namespace

TEST(FileDialog, ConstructionFillsTheSystemDescription) {
    CFileDialog dialog(TRUE, "html", "start.html", OFN_HIDEREADONLY,
                       "htmlﾌｧｲﾙ (*.html;*.htm)|*.html;*.htm|全てのﾌｧｲﾙ (*.*)|*.*||");
    EXPECT_EQ(dialog.m_ofn.Flags & (OFN_ENABLEHOOK | OFN_EXPLORER | OFN_HIDEREADONLY),
              static_cast<DWORD>(OFN_ENABLEHOOK | OFN_EXPLORER | OFN_HIDEREADONLY));
    EXPECT_STREQ(dialog.m_ofn.lpstrDefExt, "html");
    EXPECT_STREQ(dialog.m_ofn.lpstrFile, "start.html");
    EXPECT_EQ(dialog.GetPathName(), "start.html");

    const char expected[] = "htmlﾌｧｲﾙ (*.html;*.htm)\0*.html;*.htm\0全てのﾌｧｲﾙ (*.*)\0*.*\0\0";
    ASSERT_NE(dialog.m_ofn.lpstrFilter, nullptr);
    EXPECT_EQ(std::memcmp(dialog.m_ofn.lpstrFilter, expected, sizeof expected), 0);
}

TEST(FileDialog, ClassicOkReachesTheOverride) {
    HookedDialog dialog(true, true);
    HWND shown = nullptr;
    INT_PTR result = RunDialog(dialog, [&](HWND window) {
        shown = window;
        ClickButton(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.inits, 1);
    EXPECT_EQ(dialog.oks, 1);
    EXPECT_EQ(dialog.initWindow, shown); // the classic hook works on the dialog itself
}

TEST(FileDialog, ClassicDefaultOkAcceptsATypedFile) {
    HANDLE file = CreateFileA("pick.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
    HookedDialog dialog(true, false);
    INT_PTR result = RunDialog(dialog, [&](HWND window) {
        SetDlgItemTextA(window, kFileNameField, "pick.txt");
        ClickButton(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.oks, 1);
    std::string path = dialog.GetPathName();
    ASSERT_GE(path.size(), 9u);
    EXPECT_EQ(path.substr(path.size() - 9), "\\pick.txt");
}

TEST(FileDialog, ExplorerCancelGivesIdCancel) {
    HookedDialog dialog(false, true);
    INT_PTR result = RunDialog(dialog, [&](HWND window) { ClickButton(window, IDCANCEL); });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dialog.inits, 1);
    EXPECT_EQ(dialog.oks, 0);
}

TEST(FileDialog, FilterKeepsDoubleByteCharactersWhoseSecondByteIsABar) {
    // ポ is 83 7C: only the bars that are characters of their own separate
    // the pairs. Half-width ﾎﾟ is two single-byte characters.
    const struct {
        const char* filter;
        const char expected[40];
        size_t size;
    } cases[] = {
        {"ポ (*.txt)|*.txt||", "ポ (*.txt)\0*.txt\0\0", sizeof "ポ (*.txt)\0*.txt\0\0"},
        {"表|*.ポ||", "表\0*.ポ\0\0", sizeof "表\0*.ポ\0\0"},
        {"ﾎﾟ|ポ|", "ﾎﾟ\0ポ\0\0", sizeof "ﾎﾟ\0ポ\0\0"},
    };
    for (const auto& c : cases) {
        CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, c.filter);
        ASSERT_NE(dialog.m_ofn.lpstrFilter, nullptr);
        EXPECT_EQ(std::memcmp(dialog.m_ofn.lpstrFilter, c.expected, c.size), 0) << c.filter;
    }
}

TEST(FileDialog, CurrentDirectoryIsTheSameAfterChoosingInAnotherFolder) {
    CreateDirectoryA("browse_sub", nullptr);
    HANDLE file =
        CreateFileA("browse_sub\\x.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
    char before[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, before);

    for (bool classic : {true, false}) {
        HookedDialog dialog(classic, false);
        INT_PTR result = RunDialog(dialog, [&](HWND window) {
            if (classic) {
                SetDlgItemTextA(window, kFileNameField, "browse_sub\\x.txt");
                ClickButton(window, IDOK);
            } else {
                // The Explorer layout's own folder change, then Cancel.
                SetCurrentDirectoryA("browse_sub");
                ClickButton(window, IDCANCEL);
            }
        });
        EXPECT_EQ(result, classic ? IDOK : IDCANCEL);
        char after[MAX_PATH] = "";
        GetCurrentDirectoryA(MAX_PATH, after);
        EXPECT_STREQ(after, before) << (classic ? "classic" : "explorer");
        SetCurrentDirectoryA(before);
    }
}
