// Store reading. Values are written by the editor without a terminating NUL,
// so every read terminates the bytes itself and sizes its buffer from the
// length the registry reports.
#include "menu_store.h"

#include <stdlib.h>
#include <string.h>

#include "common/menu_store_rules.h"

namespace {

// One attempt; *result tells why it failed.
HKEY TryOpenStore(LONG* result) {
    HKEY software = nullptr;
    *result = RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ | KEY_WRITE, &software);
    if (*result != ERROR_SUCCESS)
        return nullptr;
    HKEY company = nullptr;
    *result = RegCreateKeyExA(software, "Ostrel", 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                              &company, nullptr);
    RegCloseKey(software);
    if (*result != ERROR_SUCCESS)
        return nullptr;
    HKEY root = nullptr;
    *result = RegCreateKeyExA(company, "Tevrix", 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                              &root, nullptr);
    RegCloseKey(company);
    return *result == ERROR_SUCCESS ? root : nullptr;
}

} // namespace

HKEY OpenStore(void) {
    // Another program deleting the store can delete the company key between
    // its opening and the store key's: that attempt is no answer, and the
    // next one finds the deletion done.
    const int kAttempts = 3;
    LONG result = ERROR_SUCCESS;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        HKEY root = TryOpenStore(&result);
        if (root || result != ERROR_KEY_DELETED)
            return root;
    }
    return nullptr;
}

namespace {

HKEY OpenForReading(HKEY parent, const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, name, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

} // namespace

HKEY OpenMenuKey(HKEY root, bool mayCreate) {
    if (!root)
        return nullptr;
    HKEY menu = OpenForReading(root, menu_store::kMenuKey);
    HKEY retired = menu ? nullptr : OpenForReading(root, menu_store::kRetiredKey);
    switch (menu_store::ChooseMenuSource(menu != nullptr, retired != nullptr)) {
    case menu_store::kFromMenuKey:
        return menu;
    case menu_store::kFromRetiredKey:
        return retired;
    case menu_store::kNoMenu:
        break;
    }
    // Only under the lock: a "URL" made while a save stands between its
    // renames would take the name the new menu is about to get.
    if (!mayCreate || RegCreateKeyExA(root, menu_store::kMenuKey, 0, nullptr, 0, KEY_READ, nullptr,
                                      &menu, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return menu;
}

HANDLE LockStore(void) {
    HANDLE lock = CreateMutexA(nullptr, FALSE, menu_store::kLockName);
    if (!lock)
        return nullptr;
    // An abandoned lock is a save that ended mid-way: the keys still tell
    // which menu is whole, so the lock is ours all the same.
    DWORD waited = WaitForSingleObject(lock, menu_store::kReaderLockWaitMs);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        CloseHandle(lock);
        return nullptr;
    }
    return lock;
}

void UnlockStore(HANDLE lock) {
    if (!lock)
        return;
    ReleaseMutex(lock);
    CloseHandle(lock);
}

namespace {

char* EmptyString(void) {
    return static_cast<char*>(calloc(1, 1));
}

// Stored bytes plus the NUL that terminates them, as a fresh heap string.
char* CopyTerminated(const char* bytes, DWORD length) {
    char* copy = static_cast<char*>(malloc(length + 1));
    if (!copy)
        return nullptr;
    memcpy(copy, bytes, length);
    copy[length] = '\0'; // stored without a NUL: terminate after the bytes
    return copy;         // stored with one: the string ends there already
}

// Most titles and texts are short: one read into this buffer settles them,
// where asking the size first would cost every value a second registry call.
const DWORD kShortValueSize = 512;

// Notes a read that failed because a save deleted the key under the reader.
LONG NoteKeyGone(LONG result, bool* keyGone) {
    if (result == ERROR_KEY_DELETED && keyGone)
        *keyGone = true;
    return result;
}

} // namespace

char* ReadStoreString(HKEY key, const char* name, bool* keyGone) {
    char shortValue[kShortValueSize];
    DWORD size = sizeof shortValue;
    LONG result = NoteKeyGone(
        RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(shortValue), &size),
        keyGone);
    if (result == ERROR_SUCCESS && size <= sizeof shortValue)
        return CopyTerminated(shortValue, size);
    if (result != ERROR_MORE_DATA)
        return EmptyString();
    // Longer values: size the buffer from the length the registry reports. The
    // value may change between asking its size and reading it; a few attempts
    // settle that, and then it reads as empty.
    for (int attempt = 0; attempt < 4; ++attempt) {
        size = 0;
        if (NoteKeyGone(RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &size), keyGone) !=
            ERROR_SUCCESS)
            return EmptyString();
        char* buffer = static_cast<char*>(malloc(size + 1));
        if (!buffer)
            return nullptr;
        DWORD read = size;
        result = NoteKeyGone(
            RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &read),
            keyGone);
        if (result == ERROR_SUCCESS && read <= size) {
            buffer[read] = '\0';
            return buffer;
        }
        free(buffer);
        if (result != ERROR_MORE_DATA)
            return EmptyString();
    }
    return EmptyString();
}

DWORD ReadStoreNumber(HKEY key, const char* name, bool* keyGone) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (NoteKeyGone(
            RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size),
            keyGone) != ERROR_SUCCESS ||
        size != sizeof value)
        return 0;
    return value;
}
