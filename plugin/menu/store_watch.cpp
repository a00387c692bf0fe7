// The change notification is asynchronous: armed once, it signals the event
// and then lapses, so every read of the store arms a new one before it walks
// the keys.
#include "store_watch.h"

#include <string.h>

namespace {

const DWORD kWatchedChanges = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET;

// The system's query of a key by its handle. Its full-name class reflects
// renames of the key and of every key above it; a deleted key answers an
// error.
const int kKeyNameInformation = 3;
typedef LONG(WINAPI* NtQueryKeyFn)(HANDLE key, int informationClass, void* information,
                                   ULONG length, ULONG* resultLength);

NtQueryKeyFn QueryKeyFunction(void) {
    // ntdll is mapped in every process; it is looked up once.
    static NtQueryKeyFn function = nullptr;
    static bool looked = false;
    if (!looked) {
        HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
        FARPROC found = ntdll ? GetProcAddress(ntdll, "NtQueryKey") : nullptr;
        memcpy(&function, &found, sizeof function);
        looked = true;
    }
    return function;
}

// The key's full name into name (kWatchedNameBytes); its whole length in
// bytes, or 0 when the key is gone or cannot be asked.
ULONG FullKeyName(HKEY key, WCHAR* name) {
    NtQueryKeyFn query = QueryKeyFunction();
    if (!query)
        return 0;
    // ULONG NameLength, then the name.
    ULONG buffer[(sizeof(ULONG) + kWatchedNameBytes) / sizeof(ULONG)];
    ULONG returned = 0;
    LONG status = query(key, kKeyNameInformation, buffer, sizeof buffer, &returned);
    const LONG kBufferOverflow = static_cast<LONG>(0x80000005);
    if ((status < 0 && status != kBufferOverflow) || returned < sizeof(ULONG))
        return 0;
    ULONG length = buffer[0];
    ULONG kept = length < kWatchedNameBytes ? length : kWatchedNameBytes;
    memcpy(name, buffer + 1, kept);
    return length;
}

void CloseWatchedKey(StoreWatch* watch) {
    if (watch->key)
        RegCloseKey(watch->key);
    watch->key = nullptr;
    watch->nameBytes = 0;
}

} // namespace

bool MakeStoreWatchEvent(StoreWatch* watch) {
    if (!watch->event)
        watch->event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    return watch->event != nullptr;
}

bool ArmStoreWatch(StoreWatch* watch, HKEY root) {
    // Closing the old handle ends its notification, which may signal the
    // event: the event is reset only after.
    CloseWatchedKey(watch);
    if (!MakeStoreWatchEvent(watch) || RegOpenKeyExA(root, nullptr, 0, KEY_NOTIFY | KEY_QUERY_VALUE,
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
    watch->nameBytes = FullKeyName(watch->key, watch->name);
    return true;
}

bool StoreWatchSignalled(const StoreWatch* watch) {
    return !watch->key || WaitForSingleObject(watch->event, 0) != WAIT_TIMEOUT;
}

bool StoreChangedSinceArmed(const StoreWatch* watch) {
    if (StoreWatchSignalled(watch))
        return true;
    if (watch->nameBytes) {
        // One question answers both: a deleted key has no name, a moved one
        // another.
        WCHAR name[kWatchedNameBytes / sizeof(WCHAR)];
        ULONG length = FullKeyName(watch->key, name);
        ULONG kept = length < kWatchedNameBytes ? length : kWatchedNameBytes;
        return length != watch->nameBytes || memcmp(name, watch->name, kept) != 0;
    }
    // Without the name: a deleted root is not signalled on every system; its
    // handle then answers ERROR_KEY_DELETED, also after a key of the same name
    // was made.
    return RegQueryInfoKeyA(watch->key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS;
}

void EndStoreWatch(StoreWatch* watch) {
    CloseWatchedKey(watch);
    if (watch->event)
        CloseHandle(watch->event);
    watch->event = nullptr;
}
