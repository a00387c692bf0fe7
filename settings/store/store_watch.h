// Whether anything below a store key changed since the watch was made: the
// registry's change notification on the key and its whole subtree (new,
// renamed and deleted keys, written values), by whatever process.
#pragma once
#include "settings/store/store_key.h"

class CStoreChangeWatch {
  public:
    // Arms the notification on a handle of its own to key.
    explicit CStoreChangeWatch(const CStoreKey& key);
    ~CStoreChangeWatch();
    CStoreChangeWatch(const CStoreChangeWatch&) = delete;
    CStoreChangeWatch& operator=(const CStoreChangeWatch&) = delete;

    // FALSE when no notification could be armed: the watch tells nothing.
    BOOL IsArmed() const { return m_hKey != nullptr; }
    // A change since the watch was made, or the key deleted (which the
    // registry does not always signal); TRUE also when not armed.
    BOOL Changed() const;

  private:
    HKEY m_hKey = nullptr;
    HANDLE m_hEvent = nullptr;
};
