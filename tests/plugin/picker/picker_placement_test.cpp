// Where the picker opens: whole on the work area of the compose window's
// monitor, whatever part of that window is off the screen, and on any
// monitor of a desktop that reaches left of or above the primary one.
#include <gtest/gtest.h>

#include <windows.h>

#include "modal_closer.h"
#include "plugin/picker/picker_placement.h"
#include "store_reset.h"
#include "tests/plugin/plugin_harness.h"

TEST(PickerPlacement, AComposeWindowPastTheScreensCornerGetsAWholePicker) {
    ResetStore();
    WriteStoreNumber("", "UsePicker", 1);
    WriteTextEntry("URL", 0, "署名", "山田");
    HMENU menu = BuildComposeMenu();
    ComposeEditor editor;
    HWND compose = GetAncestor(editor.Edit(), GA_ROOT);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(nullptr, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    // Most of the window past the right and bottom edges.
    SetWindowPos(compose, nullptr, work.right - 120, work.bottom - 90, 400, 300,
                 SWP_NOZORDER | SWP_SHOWWINDOW);
    RECT picker = {};
    ModalCloser closer([&] {
        HWND dialog = FindThreadWindow("#32770");
        if (!dialog || !IsRectEmpty(&picker))
            return;
        GetWindowRect(dialog, &picker);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    editor.Choose(ReadMenu(TextPopup(menu))[0].id);
    EXPECT_FALSE(closer.TimedOut());
    EXPECT_TRUE(picker.left >= work.left && picker.top >= work.top && picker.right <= work.right &&
                picker.bottom <= work.bottom)
        << "picker " << picker.left << "," << picker.top << "-" << picker.right << ","
        << picker.bottom << " work area " << work.right << "," << work.bottom;
    DestroyMenu(menu);
    Plugin().CleanUp();
    ResetStore();
}

// Desktops of more than one monitor, as the system gives their work areas:
// monitors left of and above the primary have negative coordinates.
TEST(PickerPlacement, CentredOverTheComposeWindowAndMovedOnlyIntoItsWorkArea) {
    struct Case {
        const char* what;
        RECT compose, work;
        POINT expected;
    } cases[] = {
        {"centred when it fits", {100, 100, 900, 700}, {0, 0, 1920, 1040}, {290, 250}},
        {"past the bottom right", {1700, 900, 2100, 1200}, {0, 0, 1920, 1040}, {1500, 740}},
        {"task bar on the left", {-200, 300, 200, 600}, {48, 0, 1920, 1080}, {48, 300}},
        {"left monitor, right edge", {-300, 500, 100, 800}, {-1920, 0, 0, 1040}, {-420, 500}},
        {"left monitor, top left", {-2000, 10, -1700, 200}, {-1920, 0, 0, 1040}, {-1920, 0}},
        {"upper monitor, bottom", {400, -100, 800, 200}, {0, -1080, 1920, -40}, {390, -340}},
        {"smaller than the picker", {0, 0, 300, 200}, {10, 20, 330, 260}, {10, 20}},
    };
    for (const Case& c : cases) {
        POINT at = PlacePickerInWorkArea(&c.compose, 420, 300, &c.work);
        EXPECT_EQ(at.x, c.expected.x) << c.what;
        EXPECT_EQ(at.y, c.expected.y) << c.what;
    }
}
