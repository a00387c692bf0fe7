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

#include "menu_store.h"
#include "store_watch.h"
#include "plugin/reader/reader_thread.h"

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
    LONG wanted;        // reads asked for
    LONG started;       // the number of the last read that armed the notification
    LONG finished;      // the number of the last read that ended
    ReadResult pending; // the newest read no build has taken yet
    HANDLE readEnded;   // set when a read ends
};

// The builds' own: what the popups show. The reader never touches it.
struct ShownMenu {
    MenuSnapshot snapshot;
    StoreSwitches switches;
    bool valid; // snapshot holds a menu (else: none, the grayed item)
    bool whole; // a whole read (not cut short by memory)
};

CRITICAL_SECTION Guard;
SharedState Shared;
ShownMenu Shown;

// A build waits no longer than this for the reader: a read waits up to 5 s
// for the store's lock, twice when a save disturbs it, and walks the store.
const DWORD kBuildWaitMs = 30000;

// One read of the whole store into an empty snapshot. The watch is armed on
// the store before the walk; *serving is the number of the read.
ReadOutcome ReadStore(MenuSnapshot* snapshot, StoreSwitches* switches, LONG* serving) {
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
    bool disturbed = false;
    if (menuKey) {
        ReadMenuSnapshot(menuKey, snapshot, &disturbed);
        RegCloseKey(menuKey);
    }
    // Only the reader arms the watch, so it asks without the guard.
    bool whole = armed ? !StoreChangedSinceArmed(&Shared.watch) : lock || !disturbed;
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

void WaitForRead(LONG target) {
    DWORD started = GetTickCount();
    for (;;) {
        EnterCriticalSection(&Guard);
        bool ended = Shared.finished >= target;
        if (!ended)
            ResetEvent(Shared.readEnded);
        LeaveCriticalSection(&Guard);
        DWORD waited = GetTickCount() - started;
        if (ended || waited >= kBuildWaitMs)
            return;
        WaitForSingleObject(Shared.readEnded, kBuildWaitMs - waited);
    }
}

// Takes the reader's newest read into what the popups show.
void TakePending(void) {
    EnterCriticalSection(&Guard);
    ReadResult taken = Shared.pending;
    Shared.pending = {};
    LeaveCriticalSection(&Guard);
    if (!taken.present)
        return;
    if (taken.outcome == kReadDisturbed) {
        // Never the disturbed read: what was last read whole, while there is.
        if (Shown.valid && Shown.whole)
            return;
        FreeMenuSnapshot(&Shown.snapshot);
        Shown = {};
        return;
    }
    FreeMenuSnapshot(&Shown.snapshot);
    Shown.snapshot = taken.snapshot;
    Shown.switches = taken.switches;
    Shown.valid = taken.outcome == kReadWhole;
    // A read cut short by memory shows what it has, and the next build asks
    // again.
    Shown.whole = Shown.valid && !taken.snapshot.truncated;
}

} // namespace

void InitializeMenuCache(void) {
    InitializeCriticalSection(&Guard);
}

void DeleteMenuCache(void) {
    DeleteCriticalSection(&Guard);
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

void ReadStoreForBuilds(void) {
    ReadResult result = {};
    LONG serving = 0;
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        MenuSnapshot fresh = {};
        StoreSwitches switches = {};
        ReadOutcome outcome = ReadStore(&fresh, &switches, &serving);
        if (outcome == kReadDisturbed) {
            FreeMenuSnapshot(&fresh);
            result = {true, kReadDisturbed, {}, {}};
            continue;
        }
        if (outcome == kReadNoMenu)
            FreeMenuSnapshot(&fresh);
        result = {true, outcome, fresh, switches};
        break;
    }
    EnterCriticalSection(&Guard);
    Hand(&result);
    if (Shared.finished < serving)
        Shared.finished = serving;
    SetEvent(Shared.readEnded);
    LeaveCriticalSection(&Guard);
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
            WaitForRead(target);
        } else {
            // No thread could be had: the build reads, as it did before there
            // was one.
            ReadStoreForBuilds();
        }
    }
    TakePending();
    return Shown.valid ? &Shown.snapshot : nullptr;
}

bool StoreUsesAddressBook(void) {
    return Shown.switches.usesAddressBook;
}

bool StoreUsesPicker(void) {
    return Shown.switches.usesPicker;
}

void FreeMenuCache(void) {
    FreeMenuSnapshot(&Shown.snapshot);
    Shown = {};
    FreeMenuSnapshot(&Shared.pending.snapshot);
    EndStoreWatch(&Shared.watch);
    if (Shared.readEnded)
        CloseHandle(Shared.readEnded);
    Shared = {};
}
