// The thread waits for the host's wake-up, the store's notification or the
// end; whatever woke it, it first serves every read the builds asked for. It
// leaves through FreeLibraryAndExitThread, which drops its reference on the
// plug-in without returning into the plug-in's code.
#include "reader_thread.h"

#include <windows.h>

#include <stdlib.h>

#include "plugin/menu/menu_cache.h"
#include "plugin/shared_menu/shared_source.h"

namespace {

struct Reader {
    HANDLE thread;
    HANDLE wake; // auto-reset: a build asked for something
    HANDLE stop; // manual-reset: the thread is to end
};

// Only the host's thread starts and stops the reader.
Reader Current;

// QPCCleanUp waits this long for a read to end; a read waits 5 s for the
// store's lock, twice when a save disturbs it.
const DWORD kStopWaitMs = 30000;

void Serve(HANDLE wake, HANDLE stop) {
    for (;;) {
        if (WaitForSingleObject(stop, 0) == WAIT_OBJECT_0)
            return;
        if (StoreReadWanted()) {
            ReadStoreForBuilds(true);
            continue;
        }
        TakeSharedSetting();
        DWORD untilCheck = INFINITE;
        if (SharedCheckDue(&untilCheck)) {
            // A build that needs the store meanwhile reads it itself.
            NoteReaderAtSource(true);
            CheckSharedSource(stop);
            NoteReaderAtSource(false);
            continue;
        }
        HANDLE handles[3] = {stop, wake, StoreChangeEvent()};
        DWORD count = handles[2] ? 3 : 2;
        if (WaitForMultipleObjects(count, handles, FALSE, untilCheck) == WAIT_OBJECT_0)
            return;
    }
}

struct ThreadStart {
    HMODULE self;
    HANDLE wake;
    HANDLE stop;
};

DWORD WINAPI ReaderMain(void* parameter) {
    ThreadStart start = *static_cast<ThreadStart*>(parameter);
    free(parameter);
    Serve(start.wake, start.stop);
    EndSharedSource();
    // The events are the thread's: the host's side may have given up waiting.
    CloseHandle(start.wake);
    CloseHandle(start.stop);
    FreeLibraryAndExitThread(start.self, 0);
    return 0;
}

void CloseEvents(HANDLE wake, HANDLE stop) {
    if (wake)
        CloseHandle(wake);
    if (stop)
        CloseHandle(stop);
}

} // namespace

bool StartReader(void) {
    if (Current.thread) {
        if (WaitForSingleObject(Current.thread, 0) == WAIT_TIMEOUT &&
            WaitForSingleObject(Current.stop, 0) == WAIT_TIMEOUT)
            return true;
        // A thread told to end is not woken again; one that ended is gone.
        if (!StopReader())
            return false;
    }
    HANDLE wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE wakeHeld = nullptr, stopHeld = nullptr;
    HANDLE process = GetCurrentProcess();
    ThreadStart* start = static_cast<ThreadStart*>(malloc(sizeof(ThreadStart)));
    // The thread's reference is taken here, before the thread exists, so that
    // no unload can come between its start and its first instruction.
    HMODULE self = nullptr;
    if (!wake || !stop || !start ||
        !DuplicateHandle(process, wake, process, &wakeHeld, 0, FALSE, DUPLICATE_SAME_ACCESS) ||
        !DuplicateHandle(process, stop, process, &stopHeld, 0, FALSE, DUPLICATE_SAME_ACCESS) ||
        !GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCSTR>(&ReaderMain), &self)) {
        CloseEvents(wake, stop);
        CloseEvents(wakeHeld, stopHeld);
        free(start);
        return false;
    }
    *start = {self, wakeHeld, stopHeld};
    HANDLE thread = CreateThread(nullptr, 0, ReaderMain, start, 0, nullptr);
    if (!thread) {
        FreeLibrary(self);
        CloseEvents(wake, stop);
        CloseEvents(wakeHeld, stopHeld);
        free(start);
        return false;
    }
    Current = {thread, wake, stop};
    return true;
}

void WakeReader(void) {
    if (Current.wake)
        SetEvent(Current.wake);
}

bool StopReader(void) {
    if (!Current.thread)
        return true;
    SetEvent(Current.stop);
    if (WaitForSingleObject(Current.thread, kStopWaitMs) != WAIT_OBJECT_0)
        return false;
    CloseHandle(Current.thread);
    CloseEvents(Current.wake, Current.stop);
    Current = {};
    return true;
}

void ForgetReader(void) {
    if (!Current.thread)
        return;
    CloseHandle(Current.thread);
    CloseEvents(Current.wake, Current.stop);
    Current = {};
}
