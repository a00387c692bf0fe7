// The menu cache. A read arms the store's change notification before it
// walks the keys, so a change made during the walk, as well as any later one,
// leaves the event signalled: the read then counts as not whole, and the next
// build reads again. Only a whole read that nothing disturbed is kept as
// current; without a notification every build reads, as the store allows.
//
// A reader holds the store's lock when it can; a save that keeps it longer
// makes the read go on without it. The notification (or, where none can be
// armed, a listed key that cannot be opened) then tells a walk that a save
// renamed or deleted under it, and such a read is never shown: the build
// shows the last whole read, or reads once more.
#include "menu_cache.h"

#include "menu_store.h"
#include "store_watch.h"

namespace {

enum ReadOutcome {
    kReadWhole,     // the menu, entire (or its beginning, memory having run out)
    kReadNoMenu,    // no store, or no menu key could be had
    kReadDisturbed, // a save or another writer changed the store during the walk
};

struct MenuCache {
    MenuSnapshot snapshot;
    bool whole;   // snapshot is a whole read (not cut short by memory)
    bool current; // the watch vouches for snapshot
    bool usesAddressBook;
    bool usesPicker;
    bool usesVariables;
    StoreWatch watch;
};

MenuCache Cache;

// One read of the whole store into an empty snapshot. The watch is armed on
// the store before the walk.
ReadOutcome ReadStore(MenuSnapshot* snapshot, bool* armed, bool* usesAddressBook, bool* usesPicker,
                      bool* usesVariables) {
    HANDLE lock = LockStore();
    HKEY root = OpenStore();
    *armed = false;
    *usesAddressBook = false;
    *usesPicker = false;
    *usesVariables = false;
    if (!root) {
        UnlockStore(lock);
        return kReadNoMenu;
    }
    // A never saved store gets its empty "URL" (under the lock) before the
    // watch is armed, so that this read does not take its own key for a
    // change; the menu key is opened again after arming, so that a rename
    // between the two is seen.
    HKEY menuKey = OpenMenuKey(root, lock != nullptr);
    *armed = ArmStoreWatch(&Cache.watch, root);
    if (menuKey && *armed) {
        RegCloseKey(menuKey);
        menuKey = OpenMenuKey(root, false);
    }
    *usesAddressBook = ReadStoreNumber(root, "UseAddress") != 0;
    *usesPicker = ReadStoreNumber(root, "UsePicker") != 0;
    *usesVariables = ReadStoreNumber(root, "UseVariables") != 0;
    bool disturbed = false;
    if (menuKey) {
        ReadMenuSnapshot(menuKey, snapshot, &disturbed);
        RegCloseKey(menuKey);
    }
    bool whole = *armed ? !StoreChangedSinceArmed(&Cache.watch) : lock || !disturbed;
    RegCloseKey(root);
    UnlockStore(lock);
    if (!whole)
        return kReadDisturbed;
    return menuKey ? kReadWhole : kReadNoMenu;
}

void Keep(MenuSnapshot* fresh, bool whole, bool current) {
    FreeMenuSnapshot(&Cache.snapshot);
    Cache.snapshot = *fresh;
    *fresh = {};
    Cache.whole = whole;
    Cache.current = current;
}

// A save that disturbs one read has usually done its renames: the second
// read waits for its lock once more and finds the new menu whole.
const int kReadAttempts = 2;

} // namespace

const MenuSnapshot* CurrentMenuSnapshot(void) {
    if (Cache.current && !StoreChangedSinceArmed(&Cache.watch))
        return &Cache.snapshot;
    Cache.current = false;
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        MenuSnapshot fresh = {};
        bool armed = false;
        ReadOutcome outcome = ReadStore(&fresh, &armed, &Cache.usesAddressBook, &Cache.usesPicker,
                                        &Cache.usesVariables);
        if (outcome == kReadWhole) {
            // A read cut short by memory shows what it has, and the next
            // build tries again.
            Keep(&fresh, !fresh.truncated, armed && !fresh.truncated);
            return &Cache.snapshot;
        }
        FreeMenuSnapshot(&fresh);
        if (outcome == kReadNoMenu) {
            Keep(&fresh, false, false);
            return nullptr;
        }
        // Never the disturbed read: what was last read whole, while there is.
        if (Cache.whole)
            return &Cache.snapshot;
    }
    return nullptr;
}

bool StoreUsesAddressBook(void) {
    return Cache.usesAddressBook;
}

bool StoreUsesPicker(void) {
    return Cache.usesPicker;
}

bool StoreUsesVariables(void) {
    return Cache.usesVariables;
}

void FreeMenuCache(void) {
    FreeMenuSnapshot(&Cache.snapshot);
    EndStoreWatch(&Cache.watch);
    Cache = {};
}
