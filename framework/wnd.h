// The window object every dialog, page, sheet and control wrapper derives from.
#pragma once
#include "framework/message_map.h"

#include <string>

class CWnd {
  public:
    CWnd() = default;
    virtual ~CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessage(m_hWnd, message, wParam, lParam);
    }
    BOOL EnableWindow(BOOL enable = TRUE) const { return ::EnableWindow(m_hWnd, enable); }
    void SetWindowText(const char* text) const { ::SetWindowText(m_hWnd, text); }
    std::string GetWindowText() const;

    HWND m_hWnd = nullptr;

  protected:
    // The class's event table: true when the message was handled, with the
    // answer in *result. The base handles nothing.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // Called by a handler that wants the window's default handling to run
    // after its own work, as if no handler had taken the message.
    void Default() { m_bDefaultRequested = true; }

    // Runs the event table for a message that reached this window. False when
    // nothing handled it or the handler asked for the default handling.
    bool RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

  private:
    bool m_bDefaultRequested = false;
};
