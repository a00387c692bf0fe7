// Knowing, without reading it, whether the store changed: the registry's
// change notification on the store's root, with its whole subtree, signals an
// event at the first new or deleted key, renamed key or written value, by
// whatever process or tool.
#pragma once
#include <windows.h>

struct StoreWatch {
    HKEY key;     // the root the notification is armed on; null: not armed
    HANDLE event; // signalled by the registry at the first change
};

// Arms a fresh notification on root (a handle of its own: the caller keeps
// and closes root). Any earlier notification ends first. False when it could
// not be armed: the watch then vouches for nothing.
bool ArmStoreWatch(StoreWatch* watch, HKEY root);

// True unless the watch is armed and nothing changed since: a change below the
// root, the root itself deleted (which the registry does not always signal),
// or no notification.
bool StoreChangedSinceArmed(const StoreWatch* watch);

// Ends the notification and closes the event.
void EndStoreWatch(StoreWatch* watch);
