#include "picker_placement.h"

namespace {

// The start of a length-long span centred over [from, to), then kept inside
// [low, high); the low edge wins when the span is longer than the room.
LONG Clamp(LONG from, LONG to, LONG length, LONG low, LONG high) {
    LONG start = from + (to - from - length) / 2;
    if (start > high - length)
        start = high - length;
    if (start < low)
        start = low;
    return start;
}

} // namespace

POINT PlacePickerInWorkArea(const RECT* over, int width, int height, const RECT* work) {
    POINT corner;
    corner.x = Clamp(over->left, over->right, width, work->left, work->right);
    corner.y = Clamp(over->top, over->bottom, height, work->top, work->bottom);
    return corner;
}

void PlacePickerOverOwner(HWND dialog, HWND owner) {
    RECT own, over, work;
    if (!GetWindowRect(dialog, &own))
        return;
    bool hasOwner = owner && IsWindowVisible(owner) && GetWindowRect(owner, &over);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    HMONITOR screen = hasOwner ? MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST)
                               : MonitorFromWindow(nullptr, MONITOR_DEFAULTTOPRIMARY);
    if (screen && GetMonitorInfoA(screen, &monitor))
        work = monitor.rcWork;
    else if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
        return;
    if (!hasOwner)
        over = work;
    POINT corner = PlacePickerInWorkArea(&over, own.right - own.left, own.bottom - own.top, &work);
    SetWindowPos(dialog, nullptr, corner.x, corner.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
