#include "import_driver.h"

#include <gtest/gtest.h>

#include "failing_tree_insert.h"
#include "modal_closer.h"
#include "common/proc_cast.h"
#include "sheet_driver.h"

const char kSheetCaption[] = "Tevrix 設定";
const char kMessageCaption[] = "Tevrix";
const char kTitleDialogCaption[] = "お気に入り メニュー";
const char kFolderDialogCaption[] = "お気に入りﾌｫﾙﾀﾞの選択";
const char kHtmlDialogCaption[] = "HTMLファイルの挿入";

bool RunSheetSteps(const std::vector<Step>& steps, DWORD deadlineMs) {
    HMODULE editor = LoadLibraryA("Vandry.dll");
    if (!editor)
        return false;
    auto setUp = GetProcAs<void(WINAPI*)()>(editor, "SetUpTevrix");
    if (!setUp) {
        FreeLibrary(editor);
        return false;
    }
    size_t next = 0;
    ModalCloser closer(
        [&] {
            HWND top = FindThreadWindow("#32770");
            if (top && next < steps.size() && steps[next](top))
                ++next;
        },
        50, deadlineMs);
    setUp();
    bool finished = !closer.TimedOut() && next == steps.size();
    FreeLibrary(editor);
    return finished;
}

std::string WindowText(HWND window) {
    int length = GetWindowTextLengthA(window);
    std::string text(length + 1, '\0');
    text.resize(GetWindowTextA(window, &text[0], length + 1));
    return text;
}

std::string ControlText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}

void SetControlText(HWND dialog, int id, const std::string& text) {
    SetWindowTextA(GetDlgItem(dialog, id), text.c_str());
}

void PostClick(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

bool IsControlVisible(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    return control && (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE);
}

std::string MessageBoxText(HWND box) {
    // The text is the box's one static control with text (the icon has none).
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[32] = "";
        GetClassNameA(child, className, sizeof className);
        std::string text = WindowText(child);
        if (lstrcmpiA(className, "Static") == 0 && !text.empty())
            return text;
    }
    return "";
}

int FocusedControlId(HWND dialog) {
    // Under Wine on a display without a window manager, the display's focus
    // can leave the dialog a moment after a message box closes; the dialog
    // keeps the control that had the focus and gives it back on activation.
    if (GetActiveWindow() != dialog)
        SetActiveWindow(dialog);
    HWND focus = GetFocus();
    return focus && IsChild(dialog, focus) ? GetDlgCtrlID(focus) : 0;
}

Step When(const std::string& caption, std::function<void(HWND dialog)> action) {
    return [caption, action](HWND top) {
        if (WindowText(top) != caption)
            return false;
        action(top);
        return true;
    };
}

Step OnSheet(std::function<void(HWND sheet)> action) {
    return When(kSheetCaption, action);
}

Step ClickOnMenuPage(int id) {
    return OnSheet([id](HWND sheet) { PostClick(CurrentPage(sheet), id); });
}

Step AnswerMessage(std::string* text) {
    return When(kMessageCaption, [text](HWND box) {
        *text = MessageBoxText(box);
        PostClick(box, IDOK);
    });
}

Step Press(const std::string& caption, int id) {
    return When(caption, [id](HWND dialog) { PostClick(dialog, id); });
}

Step PressSheetOk() {
    return OnSheet([](HWND sheet) { PressSheetButton(sheet, PSBTN_OK); });
}

Step PressSheetCancel() {
    return OnSheet([](HWND sheet) { PressSheetButton(sheet, PSBTN_CANCEL); });
}

bool ChooseFileInOpenDialog(HWND dialog, const std::string& path) {
    // Explorer style keeps the name in a combo box (1148), the classic one in edt1 (1152).
    HWND field = GetDlgItem(dialog, 1148);
    if (!field)
        field = GetDlgItem(dialog, 1152);
    if (!field)
        return false;
    SetWindowTextA(field, path.c_str());
    PostClick(dialog, IDOK);
    return true;
}

Step ChooseFile(const std::string& path) {
    return [path](HWND top) {
        if (WindowText(top) == kHtmlDialogCaption)
            return false;
        return ChooseFileInOpenDialog(top, path);
    };
}

long RunRefusingEachInsert(const RefusedInsertRuns& runs) {
    // Held loaded across the runs, so that its import table stays patched.
    HMODULE editor = LoadLibraryA("Vandry.dll");
    if (!editor) {
        ADD_FAILURE() << "no Vandry.dll";
        return 0;
    }
    long inserts = 0;
    {
        FailingTreeInsert refusing(editor);
        EXPECT_TRUE(refusing.Patched());
        for (long refused = -1; refused < inserts; ++refused) {
            runs.prepare();
            std::vector<Step> steps = runs.steps(refused);
            Step start = steps.front();
            steps.front() = [&refusing, refused, start](HWND top) {
                refusing.FailInsert(refused);
                return start(top);
            };
            EXPECT_TRUE(RunSheetSteps(steps)) << "refused " << refused;
            EXPECT_EQ(refusing.Refused(), refused >= 0);
            if (refused < 0)
                inserts = refusing.Inserts();
            runs.check(refused);
        }
    }
    FreeLibrary(editor);
    return inserts;
}
