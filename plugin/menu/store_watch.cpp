// The change notification is asynchronous: armed once, it signals the event
// and then lapses, so every read of the store arms a new one before it walks
// the keys.
#include "store_watch.h"

namespace {

const DWORD kWatchedChanges = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET;

void CloseWatchedKey(StoreWatch* watch) {
    if (watch->key)
        RegCloseKey(watch->key);
    watch->key = nullptr;
}

} // namespace

bool ArmStoreWatch(StoreWatch* watch, HKEY root) {
    // Closing the old handle ends its notification, which may signal the
    // event: the event is reset only after.
    CloseWatchedKey(watch);
    if (!watch->event)
        watch->event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!watch->event || RegOpenKeyExA(root, nullptr, 0, KEY_NOTIFY | KEY_QUERY_VALUE,
                                       &watch->key) != ERROR_SUCCESS) {
        watch->key = nullptr;
        return false;
    }
    ResetEvent(watch->event);
    if (RegNotifyChangeKeyValue(watch->key, TRUE, kWatchedChanges, watch->event, TRUE) !=
        ERROR_SUCCESS) {
        CloseWatchedKey(watch);
        return false;
    }
    return true;
}

bool StoreChangedSinceArmed(const StoreWatch* watch) {
    if (!watch->key || WaitForSingleObject(watch->event, 0) != WAIT_TIMEOUT)
        return true;
    // A deleted root is not signalled on every system; its handle then
    // answers ERROR_KEY_DELETED, also after a key of the same name was made.
    return RegQueryInfoKeyA(watch->key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS;
}

void EndStoreWatch(StoreWatch* watch) {
    CloseWatchedKey(watch);
    if (watch->event)
        CloseHandle(watch->event);
    watch->event = nullptr;
}
