#include "failing_tree_insert.h"

#include <commctrl.h>

namespace {
typedef LRESULT(WINAPI* SendMessageFn)(HWND, UINT, WPARAM, LPARAM);
SendMessageFn g_original = nullptr;
long g_failAt = -1;
long g_inserts = 0;
bool g_refused = false;

LRESULT WINAPI CountingSendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TVM_INSERTITEMA && g_inserts++ == g_failAt) {
        g_refused = true;
        return 0;
    }
    return g_original(window, message, wParam, lParam);
}
} // namespace

FailingTreeInsert::FailingTreeInsert(HMODULE module)
    : patch_(module, "USER32.dll", "SendMessageA", reinterpret_cast<void*>(CountingSendMessage)) {
    g_original = reinterpret_cast<SendMessageFn>(patch_.Original());
    FailInsert(-1);
}

FailingTreeInsert::~FailingTreeInsert() {
    FailInsert(-1);
}

void FailingTreeInsert::FailInsert(long index) {
    g_failAt = index;
    g_inserts = 0;
    g_refused = false;
}

long FailingTreeInsert::Inserts() const {
    return g_inserts;
}

bool FailingTreeInsert::Refused() const {
    return g_refused;
}
