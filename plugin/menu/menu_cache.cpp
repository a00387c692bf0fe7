// The menu cache. The reader thread reads the store; a read arms the store's
// change notification before it walks the keys, so a change made during the
// walk, as well as any later one, leaves the event signalled: the read then
// counts as not whole. Only a whole read that nothing disturbed is kept as
// current; without a notification every build asks for a read, as the store
// allows.
//
// A reader holds the store's lock when it can; a save that keeps it longer
// makes the read go on without it. The notification (or, where none can be
// armed, a listed key that cannot be opened) then tells a walk that a save
// renamed or deleted under it, and such a read is never shown: the build
// shows the last whole read, or the reader reads once more.
//
// Reads are counted: a build (or the reader, woken by the notification) that
// sees the store changed asks for one more read than were asked for so far,
// and a build waits until a read that began after its question has ended. A
// read takes its number under the guard at the moment it arms the
// notification, so every change made before that is in its walk, and every
// later one signals again.
#include "menu_cache.h"

#include <stdlib.h>
#include <string.h>

#include "common/registry_key_deleted.h"
#include "menu_store.h"
#include "store_watch.h"
#include "plugin/reader/reader_thread.h"
#include "plugin/shared_menu/shared_source.h"

namespace {

enum ReadOutcome {
    kReadWhole,     // the menu, entire (or its beginning, memory having run out)
    kReadNoMenu,    // no store, or no menu key could be had
    kReadDisturbed, // a save or another writer changed the store during the walk
};

// A read handed from the reader to the builds.
struct ReadResult {
    bool present;
    ReadOutcome outcome;
    MenuSnapshot snapshot; // kReadWhole
    StoreSwitches switches;
};

// Between the reader and the builds, under Guard.
struct SharedState {
    StoreWatch watch;
    LONG wanted;                // reads asked for
    LONG started;               // the number of the last read that armed the notification
    LONG finished;              // the number of the last read that ended
    ReadResult pending;         // the newest read no build has taken yet
    bool sharedHanded;          // sharedPending is new
    MenuSnapshot sharedPending; // the newest shared menu (none: no entries, not valid)
    bool sharedValid;
    char sharedPendingSource[MAX_PATH * 4];
    HANDLE readEnded; // set when a read ends
};

// The builds' own: what the popups show. The reader never touches it.
struct ShownMenu {
    MenuSnapshot snapshot;
    StoreSwitches switches;
    bool valid; // snapshot holds a menu (else: none, the grayed item)
    bool whole; // a whole read (not cut short by memory)
};

// The team's shared menu the popups show, and the menu they are built from:
// the user's entries, then one submenu holding the shared ones, the strings
// lent by the two snapshots.
struct ShownSharedMenu {
    MenuSnapshot snapshot;
    bool valid;
    char source[MAX_PATH * 4]; // the setting it was read from
};

CRITICAL_SECTION Guard;
SharedState Shared;
ShownMenu Shown;
ShownSharedMenu ShownShared;
MenuSnapshot Joined;     // entries only; the strings belong to the two above
DWORD JoinedSharedStart; // index of the shared submenu in Joined

// The setting read with the last whole store read, under StoreReading, and
// whether the reader has yet to take it (a build read the store itself).
char SharedSetting[MAX_PATH * 4];
bool SettingPending;

// One store read at a time: the reader's, or a build's own while the reader
// waits for the shared source.
CRITICAL_SECTION StoreReading;
// The reader is checking the shared source, which may take its time.
volatile LONG ReaderAtSource;

// A build waits no longer than this for the reader: a read waits up to 5 s
// for the store's lock, twice when a save disturbs it, and walks the store.
const DWORD kBuildWaitMs = 30000;

// A string value into a fixed buffer, cut to fit; "" when absent.
void ReadStoreText(HKEY root, const char* name, char* buffer, size_t capacity) {
    buffer[0] = '\0';
    char* value = ReadStoreString(root, name);
    if (value)
        lstrcpynA(buffer, value, static_cast<int>(capacity));
    free(value);
}

// One read of the whole store into an empty snapshot. The watch is armed on
// the store before the walk; *serving is the number of the read. *deleted
// tells a disturbed read whose store was deleted under it.
ReadOutcome ReadStore(MenuSnapshot* snapshot, StoreSwitches* switches, LONG* serving,
                      bool* deleted) {
    HANDLE lock = LockStore();
    HKEY root = OpenStore();
    *switches = {};
    bool armed = false;
    // A never saved store gets its empty "URL" (under the lock) before the
    // watch is armed, so that this read does not take its own key for a
    // change; the menu key is opened again after arming, so that a rename
    // between the two is seen.
    HKEY menuKey = root ? OpenMenuKey(root, lock != nullptr) : nullptr;
    EnterCriticalSection(&Guard);
    *serving = Shared.wanted;
    Shared.started = *serving;
    if (root)
        armed = ArmStoreWatch(&Shared.watch, root);
    LeaveCriticalSection(&Guard);
    if (!root) {
        UnlockStore(lock);
        return kReadNoMenu;
    }
    if (menuKey && armed) {
        RegCloseKey(menuKey);
        menuKey = OpenMenuKey(root, false);
    }
    switches->usesAddressBook = ReadStoreNumber(root, "UseAddress") != 0;
    switches->usesPicker = ReadStoreNumber(root, "UsePicker") != 0;
    switches->usesVariables = ReadStoreNumber(root, "UseVariables") != 0;
    ReadStoreText(root, "SharedMenuTitle", switches->sharedTitle, sizeof switches->sharedTitle);
    ReadStoreText(root, "SharedMenu", SharedSetting, sizeof SharedSetting);
    lstrcpynA(switches->sharedSource, SharedSetting, sizeof switches->sharedSource);
    bool disturbed = false;
    if (menuKey) {
        ReadMenuSnapshot(menuKey, snapshot, &disturbed);
        RegCloseKey(menuKey);
    }
    // Only the reader arms the watch, so it asks without the guard. A store
    // deleted under the read by a program that takes no lock (a registry
    // tool, an uninstaller) may have left the watch unarmed and the menu key
    // unmade: that read tells neither the old menu nor its absence.
    *deleted = RegistryKeyDeleted(root);
    bool whole = !*deleted && (armed ? !StoreChangedSinceArmed(&Shared.watch) : lock || !disturbed);
    RegCloseKey(root);
    UnlockStore(lock);
    if (!whole)
        return kReadDisturbed;
    return menuKey ? kReadWhole : kReadNoMenu;
}

// Under the guard: the newest read replaces one no build took, except that a
// disturbed read never replaces a whole one.
void Hand(ReadResult* result) {
    if (result->outcome == kReadDisturbed && Shared.pending.present)
        return;
    FreeMenuSnapshot(&Shared.pending.snapshot);
    Shared.pending = *result;
    *result = {};
}

// A save that disturbs one read has usually done its renames: the second
// read waits for its lock once more and finds the new menu whole.
const int kReadAttempts = 2;
// A deletion of the store can delete the key the next read makes again, while
// it goes on: such reads cost no attempt, up to this many.
const int kDeletedStoreRereads = 3;

// The build's question: has the store changed since the shown menu was read?
// Under the guard.
void NoteChange(void) {
    bool current = Shown.valid ? Shown.whole : Shared.finished > 0;
    if (!current || StoreChangedSinceArmed(&Shared.watch)) {
        // A read asked for that has not armed yet covers this change too.
        if (Shared.wanted == Shared.started)
            ++Shared.wanted;
    }
}

// Waits for the reader's read; false when the reader is busy with the shared
// source, which a build never waits for: the build then reads the store
// itself.
bool WaitForRead(LONG target) {
    const DWORD kLookAgainMs = 50;
    DWORD started = GetTickCount();
    for (;;) {
        EnterCriticalSection(&Guard);
        bool ended = Shared.finished >= target;
        if (!ended)
            ResetEvent(Shared.readEnded);
        LeaveCriticalSection(&Guard);
        DWORD waited = GetTickCount() - started;
        if (ended || waited >= kBuildWaitMs)
            return true;
        if (InterlockedCompareExchange(&ReaderAtSource, 0, 0))
            return false;
        DWORD left = kBuildWaitMs - waited;
        WaitForSingleObject(Shared.readEnded, left < kLookAgainMs ? left : kLookAgainMs);
    }
}

// Takes the reader's newest read into what the popups show.
void TakeStoreRead(ReadResult* taken) {
    if (!taken->present)
        return;
    if (taken->outcome == kReadDisturbed) {
        // Never the disturbed read: what was last read whole, while there is.
        if (Shown.valid && Shown.whole)
            return;
        FreeMenuSnapshot(&Shown.snapshot);
        Shown = {};
        return;
    }
    FreeMenuSnapshot(&Shown.snapshot);
    Shown.snapshot = taken->snapshot;
    Shown.switches = taken->switches;
    Shown.valid = taken->outcome == kReadWhole;
    // A read cut short by memory shows what it has, and the next build asks
    // again.
    Shown.whole = Shown.valid && !taken->snapshot.truncated;
}

const char kSharedTitle[] = "共有";

// The user's entries, then the shared submenu: one snapshot for the popup and
// the picker, which number the shared entries after the user's own.
const MenuSnapshot* JoinShared(void) {
    JoinedSharedStart = Shown.snapshot.count;
    // Only the shared menu of the setting read with this menu: one switched
    // off, or another source's, is not shown while the reader catches up.
    if (!ShownShared.valid || strcmp(ShownShared.source, Shown.switches.sharedSource) != 0)
        return &Shown.snapshot;
    DWORD count = Shown.snapshot.count + 1 + ShownShared.snapshot.count;
    if (count > Joined.capacity) {
        SnapshotEntry* entries =
            static_cast<SnapshotEntry*>(realloc(Joined.entries, count * sizeof(SnapshotEntry)));
        if (!entries)
            return &Shown.snapshot; // the user's own menu, as without a shared one
        Joined.entries = entries;
        Joined.capacity = count;
    }
    if (Shown.snapshot.count)
        memcpy(Joined.entries, Shown.snapshot.entries,
               Shown.snapshot.count * sizeof(SnapshotEntry));
    SnapshotEntry* title = &Joined.entries[Shown.snapshot.count];
    title->title = const_cast<char*>(Shown.switches.sharedTitle[0] ? Shown.switches.sharedTitle
                                                                   : kSharedTitle);
    title->text = nullptr;
    title->depth = 0;
    for (DWORD i = 0; i < ShownShared.snapshot.count; ++i) {
        SnapshotEntry entry = ShownShared.snapshot.entries[i];
        ++entry.depth;
        Joined.entries[Shown.snapshot.count + 1 + i] = entry;
    }
    Joined.count = count;
    Joined.truncated = Shown.snapshot.truncated;
    return &Joined;
}

void TakePending(void) {
    EnterCriticalSection(&Guard);
    ReadResult taken = Shared.pending;
    Shared.pending = {};
    bool sharedHanded = Shared.sharedHanded;
    MenuSnapshot shared = Shared.sharedPending;
    bool sharedValid = Shared.sharedValid;
    char source[sizeof Shared.sharedPendingSource];
    memcpy(source, Shared.sharedPendingSource, sizeof source);
    Shared.sharedHanded = false;
    Shared.sharedPending = {};
    LeaveCriticalSection(&Guard);
    TakeStoreRead(&taken);
    if (sharedHanded) {
        FreeMenuSnapshot(&ShownShared.snapshot);
        ShownShared.snapshot = shared;
        ShownShared.valid = sharedValid;
        memcpy(ShownShared.source, source, sizeof ShownShared.source);
    }
}

} // namespace

void InitializeMenuCache(void) {
    InitializeCriticalSection(&Guard);
    InitializeCriticalSection(&StoreReading);
}

void DeleteMenuCache(void) {
    DeleteCriticalSection(&StoreReading);
    DeleteCriticalSection(&Guard);
}

void NoteReaderAtSource(bool atSource) {
    InterlockedExchange(&ReaderAtSource, atSource ? 1 : 0);
}

void TakeSharedSetting(void) {
    char setting[sizeof SharedSetting];
    EnterCriticalSection(&StoreReading);
    bool pending = SettingPending;
    SettingPending = false;
    memcpy(setting, SharedSetting, sizeof setting);
    LeaveCriticalSection(&StoreReading);
    if (pending) {
        NoteSharedSetting(setting);
        CheckSharedSoon();
    }
}

bool StoreReadWanted(void) {
    EnterCriticalSection(&Guard);
    if (Shared.watch.key && StoreWatchSignalled(&Shared.watch) && Shared.wanted == Shared.started)
        ++Shared.wanted;
    bool wanted = Shared.finished < Shared.wanted;
    LeaveCriticalSection(&Guard);
    return wanted;
}

HANDLE StoreChangeEvent(void) {
    EnterCriticalSection(&Guard);
    HANDLE event = Shared.watch.key ? Shared.watch.event : nullptr;
    LeaveCriticalSection(&Guard);
    return event;
}

void ReadStoreForBuilds(bool onReader) {
    EnterCriticalSection(&StoreReading);
    ReadResult result = {};
    LONG serving = 0;
    int attemptsLeft = kReadAttempts;
    int rereadsLeft = kDeletedStoreRereads;
    while (attemptsLeft > 0) {
        MenuSnapshot fresh = {};
        StoreSwitches switches = {};
        bool deleted = false;
        ReadOutcome outcome = ReadStore(&fresh, &switches, &serving, &deleted);
        if (outcome == kReadDisturbed) {
            FreeMenuSnapshot(&fresh);
            result = {true, kReadDisturbed, {}, {}};
            if (deleted && rereadsLeft > 0)
                --rereadsLeft;
            else
                --attemptsLeft;
            continue;
        }
        if (outcome == kReadNoMenu)
            FreeMenuSnapshot(&fresh);
        result = {true, outcome, fresh, switches};
        // The shared source is the reader's alone: it takes the setting
        // now (before the read is counted, so that a build that waits for
        // it finds a new source's local copy too), or after its check.
        SettingPending = outcome == kReadWhole;
        break;
    }
    LeaveCriticalSection(&StoreReading);
    if (onReader)
        TakeSharedSetting();
    EnterCriticalSection(&Guard);
    Hand(&result);
    if (Shared.finished < serving)
        Shared.finished = serving;
    SetEvent(Shared.readEnded);
    LeaveCriticalSection(&Guard);
    if (!onReader)
        WakeReader();
}

namespace {

// Starts the reader (and makes the events it shares with the builds); false
// when no thread can be had.
bool EnsureReader(void) {
    EnterCriticalSection(&Guard);
    if (!Shared.readEnded)
        Shared.readEnded = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    MakeStoreWatchEvent(&Shared.watch);
    bool ready = Shared.readEnded != nullptr;
    LeaveCriticalSection(&Guard);
    return ready && StartReader();
}

} // namespace

void StartReadingStore(void) {
    if (!EnsureReader())
        return;
    EnterCriticalSection(&Guard);
    NoteChange();
    LeaveCriticalSection(&Guard);
    WakeReader();
}

const MenuSnapshot* CurrentMenuSnapshot(void) {
    bool reader = EnsureReader();
    EnterCriticalSection(&Guard);
    NoteChange();
    LONG target = Shared.wanted;
    bool wait = Shared.finished < target;
    LeaveCriticalSection(&Guard);
    if (wait) {
        if (reader) {
            WakeReader();
            if (!WaitForRead(target))
                ReadStoreForBuilds(false);
        } else {
            // No thread could be had: the build reads, as it did before there
            // was one.
            ReadStoreForBuilds(true);
        }
    }
    TakePending();
    return Shown.valid ? JoinShared() : nullptr;
}

DWORD SharedMenuStart(void) {
    return JoinedSharedStart;
}

void HandSharedMenu(MenuSnapshot* menu, const char* source) {
    EnterCriticalSection(&Guard);
    lstrcpynA(Shared.sharedPendingSource, source, sizeof Shared.sharedPendingSource);
    FreeMenuSnapshot(&Shared.sharedPending);
    Shared.sharedHanded = true;
    Shared.sharedValid = menu != nullptr;
    if (menu) {
        Shared.sharedPending = *menu;
        *menu = {};
    }
    LeaveCriticalSection(&Guard);
}

bool StoreUsesAddressBook(void) {
    return Shown.switches.usesAddressBook;
}

bool StoreUsesPicker(void) {
    return Shown.switches.usesPicker;
}

bool StoreUsesVariables(void) {
    return Shown.switches.usesVariables;
}

void FreeMenuCache(void) {
    FreeMenuSnapshot(&Shown.snapshot);
    Shown = {};
    FreeMenuSnapshot(&ShownShared.snapshot);
    ShownShared = {};
    free(Joined.entries);
    Joined = {};
    FreeMenuSnapshot(&Shared.sharedPending);
    SharedSetting[0] = '\0';
    SettingPending = false;
    FreeMenuSnapshot(&Shared.pending.snapshot);
    EndStoreWatch(&Shared.watch);
    if (Shared.readEnded)
        CloseHandle(Shared.readEnded);
    Shared = {};
}
