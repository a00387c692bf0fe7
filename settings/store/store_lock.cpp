#include "settings/store/store_lock.h"

#include "common/menu_store_rules.h"

CStoreLock::CStoreLock(DWORD waitMs)
    : m_hMutex(::CreateMutexA(nullptr, FALSE, menu_store::kLockName)), m_bHeld(FALSE) {
    if (!m_hMutex)
        return;
    // Abandoned: a save ended mid-way. What it left, the keys tell.
    DWORD waited = ::WaitForSingleObject(m_hMutex, waitMs);
    m_bHeld = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

CStoreLock::~CStoreLock() {
    if (m_bHeld)
        ::ReleaseMutex(m_hMutex);
    if (m_hMutex)
        ::CloseHandle(m_hMutex);
}
