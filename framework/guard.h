// Keeps C++ exceptions inside the callbacks that the system calls: window,
// dialog and hook procedures, sheet callbacks, exports. An exception must
// never cross the system's frames (the 32-bit build cannot unwind through
// them and the process ends, the host with it). A handler that throws ends
// only its own operation: the user is told in a short message box, and the
// callback answers as the failure calls for.
#pragma once
#include <windows.h>

// The caption and the two texts of that box: static text of the
// application, kept by pointer (nothing is allocated when memory has run out).
void AfxSetFailureTexts(const char* caption, const char* outOfMemory, const char* otherFailure);

// Only inside a catch block: tells the user that the operation failed, in a
// box owned by owner's top-level window (or the active window). A failure
// while another failure's box is open is not shown again.
void AfxReportFailure(HWND owner) noexcept;

// Runs body; when it throws, reports the failure and returns onFailure.
template <typename Result, typename Body>
Result AfxGuard(HWND owner, Result onFailure, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        AfxReportFailure(owner);
        return onFailure;
    }
}

template <typename Body> void AfxGuard(HWND owner, Body&& body) noexcept {
    try {
        body();
    } catch (...) {
        AfxReportFailure(owner);
    }
}
