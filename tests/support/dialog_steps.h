// Steps a test takes inside a dialog or property sheet it opened: reading a
// control, clicking a button, reading a tab's title, and running a modal
// dialog with one step once its window is up.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

std::string DialogItemText(HWND dialog, int id);

// The button's click as the dialog receives it (WM_COMMAND with BN_CLICKED).
void ClickButton(HWND dialog, int id);

// The title of a sheet's tab; index -1 is the tab now selected.
std::string SheetTabTitle(HWND sheet, int index = -1);

// Runs runModal (a DoModal call); once a dialog window (#32770) of this thread
// shows, step runs once with it and must end the dialog. A dialog still open at
// the deadline fails the test and is closed. Returns runModal's result.
INT_PTR RunModalWithStep(const std::function<INT_PTR()>& runModal,
                         const std::function<void(HWND)>& step);
