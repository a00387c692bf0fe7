// Drives the settings sheet of the real Vandry.dll through the imports: each
// step waits for the dialog it expects on top and then acts on it, all from a
// timer inside the modal loops, so no test can hang.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

// Looks at the topmost dialog of the thread; true once it has done its work,
// false to be asked again at the next tick.
using Step = std::function<bool(HWND top)>;

// Runs SetUpTevrix and the steps in order. True when every step ran and the
// sheet closed before the deadline.
bool RunSheetSteps(const std::vector<Step>& steps, DWORD deadlineMs = 30000);

// Captions of the windows the steps wait for.
extern const char kSheetCaption[];        // "Tevrix 設定"
extern const char kMessageCaption[];      // "Tevrix"
extern const char kTitleDialogCaption[];  // "お気に入り メニュー"
extern const char kFolderDialogCaption[]; // "お気に入りﾌｫﾙﾀﾞの選択"
extern const char kHtmlDialogCaption[];   // "HTMLファイルの挿入"

// Waits for the top dialog with that caption, then runs action on it.
Step When(const std::string& caption, std::function<void(HWND dialog)> action);
// The sheet on top: the menu page is the current page.
Step OnSheet(std::function<void(HWND sheet)> action);
// Clicks a button of the menu page without waiting for what it opens.
Step ClickOnMenuPage(int id);
// A "Tevrix" message box on top: records its text and answers OK.
Step AnswerMessage(std::string* text);
// Presses a button of the top dialog with that caption.
Step Press(const std::string& caption, int id);
// Closes the sheet with OK, Apply-free Cancel.
Step PressSheetOk();
Step PressSheetCancel();

// Dialog helpers.
std::string WindowText(HWND window);
std::string ControlText(HWND dialog, int id);
void SetControlText(HWND dialog, int id, const std::string& text);
// Posts a click of the button, so that what it opens runs in the outer loop.
void PostClick(HWND dialog, int id);
bool IsControlVisible(HWND dialog, int id);
// The text of a message box.
std::string MessageBoxText(HWND box);
// The id of the dialog's control that has the focus, or 0.
int FocusedControlId(HWND dialog);

// The Open dialog of the browse button: types the path into its file-name
// field and presses OK. True when the dialog was there.
bool ChooseFileInOpenDialog(HWND dialog, const std::string& path);

// Waits for the browse button's Open dialog and chooses path in it.
Step ChooseFile(const std::string& path);

// An import run once as the user makes it and then once for each tree
// insertion that it makes, with that one refused: prepare sets the store
// (and files) up before each run, steps(refused) are the run's steps
// (refused is -1 for the run without a refusal), and check(refused) looks at
// the outcome. The insertions counted are those of the real Vandry.dll from
// the first step on, which therefore comes after the sheet's load. Gives how
// many the run without a refusal made.
struct RefusedInsertRuns {
    std::function<void()> prepare;
    std::function<std::vector<Step>(long refused)> steps;
    std::function<void(long refused)> check;
};
long RunRefusingEachInsert(const RefusedInsertRuns& runs);
