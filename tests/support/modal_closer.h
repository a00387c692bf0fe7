// Closes the modal windows a test opens, so that no test can hang: a timer on
// the test's thread fires inside the modal loop and runs the test's steps.
#pragma once
#include <windows.h>

#include <functional>

// Runs step on the calling thread every intervalMs while a modal loop (or any
// message loop) runs. When deadlineMs passes, every window of this thread that
// is still enabled and visible gets WM_CLOSE and IDCANCEL, so the loop ends.
class ModalCloser {
  public:
    ModalCloser(std::function<void()> step, UINT intervalMs = 50, DWORD deadlineMs = 10000);
    ~ModalCloser();
    ModalCloser(const ModalCloser&) = delete;
    ModalCloser& operator=(const ModalCloser&) = delete;

    // True when the deadline forced the windows shut.
    bool TimedOut() const { return timedOut_; }

  private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD);
    std::function<void()> step_;
    DWORD deadline_;
    UINT_PTR timer_;
    bool timedOut_ = false;
    bool running_ = false;
};

// The topmost enabled top-level window of this thread with the given class
// name (null for any), or null.
HWND FindThreadWindow(const char* className);
