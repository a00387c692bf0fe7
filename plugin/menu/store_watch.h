// Knowing, without reading it, whether the store changed: the registry's
// change notification on the store's root, with its whole subtree, signals an
// event at the first new or deleted key, renamed key or written value, by
// whatever process or tool. A rename of one of the root's ancestors signals
// nothing below it, and the renamed key's handle still answers: the key's full
// name, asked of its handle, tells that case.
#pragma once
#include <windows.h>

// The longest full key name kept for the comparison, in bytes of UTF-16; a
// longer one is compared on its length and the part kept.
const ULONG kWatchedNameBytes = 1024;

struct StoreWatch {
    HKEY key;        // the root the notification is armed on; null: not armed
    HANDLE event;    // signalled by the registry at the first change
    ULONG nameBytes; // the key's full name as it was when armed
    WCHAR name[kWatchedNameBytes / sizeof(WCHAR)];
};

// Makes the watch's event (unsignalled) if it has none; false when it cannot.
bool MakeStoreWatchEvent(StoreWatch* watch);

// Arms a fresh notification on root (a handle of its own: the caller keeps
// and closes root). Any earlier notification ends first. False when it could
// not be armed: the watch then vouches for nothing.
bool ArmStoreWatch(StoreWatch* watch, HKEY root);

// True unless the watch is armed and nothing changed since: a change below the
// root, the root deleted (which the registry does not always signal) or moved
// by a rename of an ancestor, or no notification.
bool StoreChangedSinceArmed(const StoreWatch* watch);

// The event alone: signalled (or not armed) since the notification was armed.
bool StoreWatchSignalled(const StoreWatch* watch);

// Ends the notification and closes the event.
void EndStoreWatch(StoreWatch* watch);
