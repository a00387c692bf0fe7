// The menu store's lock (common/menu_store_rules.h), held for the whole of a
// load or a save of the menu.
#pragma once
#include <windows.h>

class CStoreLock {
  public:
    explicit CStoreLock(DWORD waitMs);
    ~CStoreLock();
    CStoreLock(const CStoreLock&) = delete;
    CStoreLock& operator=(const CStoreLock&) = delete;

    // FALSE when the lock could not be had within the wait.
    BOOL IsHeld() const { return m_bHeld; }

  private:
    HANDLE m_hMutex;
    BOOL m_bHeld;
};
