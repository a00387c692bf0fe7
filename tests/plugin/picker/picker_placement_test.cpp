// Where the picker opens: whole on the work area of the compose window's
// monitor, whatever part of that window is off the screen, and on any
// monitor of a desktop that reaches left of or above the primary one.
#include <gtest/gtest.h>

#include <windows.h>

#include "modal_closer.h"
#include "plugin/picker/picker_placement.h"
#include "store_reset.h"
#include "tests/plugin/plugin_harness.h"

namespace {

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Opens the picker over a shown compose window at `frame` and returns where
// it opened, with the work area of the compose window's monitor.
void OpenPickerOver(const RECT& frame, RECT* picker, RECT* work) {
    ResetStore();
    WriteStoreNumber("", "UsePicker", 1);
    WriteTextEntry("URL", 0, "署名", "山田");
    HMENU menu = BuildComposeMenu();
    UINT pickerId = ReadMenu(TextPopup(menu))[0].id;
    ComposeEditor editor;
    HWND compose = GetAncestor(editor.Edit(), GA_ROOT);
    SetWindowPos(compose, nullptr, frame.left, frame.top, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOZORDER | SWP_SHOWWINDOW);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(compose, MONITOR_DEFAULTTONEAREST), &monitor);
    *work = monitor.rcWork;
    SetRectEmpty(picker);
    ModalCloser closer([&] {
        HWND dialog = FindThreadWindow("#32770");
        if (!dialog || !IsRectEmpty(picker))
            return;
        GetWindowRect(dialog, picker);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    editor.Choose(pickerId);
    EXPECT_FALSE(closer.TimedOut());
    DestroyMenu(menu);
    Plugin().CleanUp();
    ResetStore();
}

} // namespace

TEST(PickerPlacement, ACornerOfTheComposeWindowOffTheScreenLeavesThePickerWhole) {
    MONITORINFO primary = {};
    primary.cbSize = sizeof primary;
    GetMonitorInfoA(MonitorFromWindow(nullptr, MONITOR_DEFAULTTOPRIMARY), &primary);
    const RECT& screen = primary.rcWork;
    const RECT frames[] = {
        // Near the bottom-right corner: most of the window past both edges.
        {screen.right - 120, screen.bottom - 90, screen.right + 280, screen.bottom + 210},
        // Above and left of the top-left corner.
        {screen.left - 300, screen.top - 220, screen.left + 100, screen.top + 80},
    };
    for (const RECT& frame : frames) {
        RECT picker, work;
        OpenPickerOver(frame, &picker, &work);
        ASSERT_FALSE(IsRectEmpty(&picker)) << "the picker did not open";
        EXPECT_TRUE(Inside(picker, work))
            << "picker " << picker.left << "," << picker.top << "-" << picker.right << ","
            << picker.bottom << " work area " << work.left << "," << work.top << "-" << work.right
            << "," << work.bottom;
    }
}

// Desktops of more than one monitor, as the system gives their work areas:
// secondary monitors left of and above the primary have negative coordinates.
TEST(PickerPlacement, CentredOverTheComposeWindowAndMovedOnlyIntoItsWorkArea) {
    const int width = 420, height = 300;
    struct Case {
        const char* what;
        RECT compose;
        RECT work;
        POINT expected;
    } cases[] = {
        {"centred when it fits", {100, 100, 900, 700}, {0, 0, 1920, 1040}, {290, 250}},
        {"past the bottom-right corner", {1700, 900, 2100, 1200}, {0, 0, 1920, 1040}, {1500, 740}},
        {"task bar on the left", {-200, 300, 200, 600}, {48, 0, 1920, 1080}, {48, 300}},
        {"monitor left of the primary, at its right edge",
         {-300, 500, 100, 800},
         {-1920, 0, 0, 1040},
         {-420, 500}},
        {"monitor left of the primary, at its left edge",
         {-2000, 10, -1700, 200},
         {-1920, 0, 0, 1040},
         {-1920, 0}},
        {"monitor above the primary, at its bottom",
         {400, -100, 800, 200},
         {0, -1080, 1920, -40},
         {390, -340}},
        {"monitor above and left", {-900, -700, -300, -300}, {-1280, -1024, 0, 0}, {-810, -650}},
        {"a work area smaller than the picker keeps its top-left corner",
         {0, 0, 300, 200},
         {10, 20, 330, 260},
         {10, 20}},
    };
    for (const Case& c : cases) {
        POINT at = PlacePickerInWorkArea(&c.compose, width, height, &c.work);
        EXPECT_EQ(at.x, c.expected.x) << c.what;
        EXPECT_EQ(at.y, c.expected.y) << c.what;
    }
}
