#include "settings/store/store_watch.h"

CStoreChangeWatch::CStoreChangeWatch(const CStoreKey& key)
    : m_hEvent(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
    if (!m_hEvent || !key.GetHandle() ||
        ::RegOpenKeyExA(key.GetHandle(), nullptr, 0, KEY_NOTIFY | KEY_QUERY_VALUE, &m_hKey) !=
            ERROR_SUCCESS) {
        m_hKey = nullptr;
        return;
    }
    if (::RegNotifyChangeKeyValue(m_hKey, TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET,
                                  m_hEvent, TRUE) != ERROR_SUCCESS) {
        ::RegCloseKey(m_hKey);
        m_hKey = nullptr;
    }
}

CStoreChangeWatch::~CStoreChangeWatch() {
    if (m_hKey)
        ::RegCloseKey(m_hKey);
    if (m_hEvent)
        ::CloseHandle(m_hEvent);
}

BOOL CStoreChangeWatch::Changed() const {
    if (!m_hKey || ::WaitForSingleObject(m_hEvent, 0) != WAIT_TIMEOUT)
        return TRUE;
    return ::RegQueryInfoKeyA(m_hKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                              nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS;
}
