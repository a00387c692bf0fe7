#include "framework/wnd.h"

std::string CWnd::GetWindowText() const {
    int length = ::GetWindowTextLength(m_hWnd);
    if (length <= 0)
        return std::string();
    std::string text(length + 1, '\0');
    int copied = ::GetWindowText(m_hWnd, &text[0], length + 1);
    text.resize(copied > 0 ? copied : 0);
    return text;
}

bool CWnd::OnMessage(UINT, WPARAM, LPARAM, LRESULT*) {
    return false;
}

bool CWnd::RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    // A handler may send messages to its own window; each message keeps its own flag.
    bool outer = m_bDefaultRequested;
    m_bDefaultRequested = false;
    bool handled = false;
    try {
        handled = OnMessage(message, wParam, lParam, result);
    } catch (...) {
        m_bDefaultRequested = outer;
        throw;
    }
    bool wantsDefault = m_bDefaultRequested;
    m_bDefaultRequested = outer;
    return handled && !wantsDefault;
}
