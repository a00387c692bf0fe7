#include "modal_closer.h"

#include <map>

namespace {
std::map<UINT_PTR, ModalCloser*> g_closers;

struct WindowSearch {
    const char* className;
    HWND found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    if (!IsWindowVisible(window))
        return TRUE;
    if (search->className) {
        char name[64];
        GetClassNameA(window, name, sizeof name);
        if (lstrcmpA(name, search->className) != 0)
            return TRUE;
    }
    search->found = window;
    return FALSE;
}

BOOL CALLBACK CloseWindowOfThread(HWND window, LPARAM) {
    if (IsWindowVisible(window)) {
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    return TRUE;
}
} // namespace

HWND FindThreadWindow(const char* className) {
    WindowSearch search{className, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

ModalCloser::ModalCloser(std::function<void()> step, UINT intervalMs, DWORD deadlineMs)
    : step_(std::move(step)), deadline_(GetTickCount() + deadlineMs) {
    timer_ = SetTimer(nullptr, 0, intervalMs, OnTimer);
    g_closers[timer_] = this;
}

ModalCloser::~ModalCloser() {
    KillTimer(nullptr, timer_);
    g_closers.erase(timer_);
}

void CALLBACK ModalCloser::OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
    auto it = g_closers.find(id);
    if (it == g_closers.end())
        return;
    ModalCloser* self = it->second;
    if (static_cast<LONG>(GetTickCount() - self->deadline_) >= 0) {
        self->timedOut_ = true;
        EndMenu();
        EnumThreadWindows(GetCurrentThreadId(), CloseWindowOfThread, 0);
        return;
    }
    if (self->running_ || !self->step_)
        return; // a step that opens a nested modal loop must not re-enter
    self->running_ = true;
    self->step_();
    self->running_ = false;
}
