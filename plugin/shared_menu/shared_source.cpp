// A path's stamp (size, last write and creation time, and which file it is)
// is asked of the opened
// file at most every 30 s, with a spread of up to 15 s more so that the PCs
// of a team do not all ask at the same second; the file is read only when its
// stamp changed. A read that does not end in time, a file that changes while
// it is read, or bytes that are not a whole backup file are never shown: the
// last good copy stays.
#include "shared_source.h"

#include <stdlib.h>
#include <string.h>

#include "http_source.h"
#include "shared_copy.h"
#include "shared_menu_parse.h"
#include "plugin/menu/menu_cache.h"

namespace {

const DWORD kCheckPeriodMs = 30000;
const DWORD kCheckSpreadMs = 15000;
// One read of the file that brings nothing for this long ends the check.
const DWORD kReadTimeoutMs = 20000;
const DWORD kReadChunk = 1u << 20;

struct Stamp {
    bool known;
    DWORD sizeHigh, sizeLow;
    FILETIME written, created;
    // A file put in place by a replace is another file, even when the file
    // system gave it the same size and times (they tick in milliseconds).
    DWORD volume, indexHigh, indexLow;
};

struct Source {
    char setting[MAX_PATH * 4]; // as the store holds it; "" when none
    WCHAR path[MAX_PATH * 4];
    bool due;
    DWORD nextCheck; // tick count
    Stamp stamp;     // of the copy last read whole
    SharedState state;
};

Source Current;

bool SameStamp(const Stamp& a, const Stamp& b) {
    return a.known && b.known && a.sizeHigh == b.sizeHigh && a.sizeLow == b.sizeLow &&
           CompareFileTime(&a.written, &b.written) == 0 &&
           CompareFileTime(&a.created, &b.created) == 0 && a.volume == b.volume &&
           a.indexHigh == b.indexHigh && a.indexLow == b.indexLow;
}

Stamp StampOf(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info;
    Stamp stamp = {};
    if (GetFileInformationByHandle(file, &info)) {
        stamp = {true,
                 info.nFileSizeHigh,
                 info.nFileSizeLow,
                 info.ftLastWriteTime,
                 info.ftCreationTime,
                 info.dwVolumeSerialNumber,
                 info.nFileIndexHigh,
                 info.nFileIndexLow};
    }
    return stamp;
}

// A drive path ("X:\...") or a share ("\\server\share\..."): nothing that
// the current directory could complete.
bool IsFullPath(const WCHAR* path) {
    bool drive = ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z')) &&
                 path[1] == L':' && path[2] == L'\\';
    return drive || (path[0] == L'\\' && path[1] == L'\\' && path[2]);
}

SharedProblem OpenProblem(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
        return kSharedNotFound;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return kSharedIncomplete; // being written
    default:
        return kSharedUnreachable;
    }
}

void ScheduleNext(void) {
    Current.due = false;
    Current.nextCheck =
        GetTickCount() + kCheckPeriodMs + static_cast<DWORD>(rand()) % kCheckSpreadMs;
}

// A read that failed: the source went away after it had begun to answer
// (the file is cut short), or it never answered.
SharedProblem ReadProblem(size_t sizeRead) {
    return sizeRead ? kSharedIncomplete : kSharedUnreachable;
}

// Reads the whole file into a heap buffer; kSharedFine with *bytes set, or why
// not.
SharedProblem ReadWhole(HANDLE file, HANDLE stop, char** bytes, size_t* size) {
    *bytes = nullptr;
    *size = 0;
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!done)
        return kSharedIncomplete;
    size_t capacity = 0;
    char* buffer = nullptr;
    SharedProblem problem = kSharedFine;
    for (;;) {
        if (*size > kSharedMenuMaxBytes) {
            problem = kSharedTooLarge;
            break;
        }
        if (capacity - *size < kReadChunk) {
            size_t larger = capacity ? capacity * 2 : 4 * kReadChunk;
            char* grown = static_cast<char*>(realloc(buffer, larger));
            if (!grown) {
                problem = kSharedIncomplete;
                break;
            }
            buffer = grown;
            capacity = larger;
        }
        OVERLAPPED request = {};
        request.Offset = static_cast<DWORD>(*size);
        request.OffsetHigh = static_cast<DWORD>(static_cast<unsigned long long>(*size) >> 32);
        request.hEvent = done;
        ResetEvent(done);
        DWORD read = 0;
        if (!ReadFile(file, buffer + *size, kReadChunk, nullptr, &request)) {
            DWORD error = GetLastError();
            if (error == ERROR_HANDLE_EOF)
                break;
            if (error != ERROR_IO_PENDING) {
                problem = ReadProblem(*size);
                break;
            }
            HANDLE handles[2] = {done, stop};
            DWORD waited = WaitForMultipleObjects(2, handles, FALSE, kReadTimeoutMs);
            if (waited != WAIT_OBJECT_0) {
                CancelIo(file);
                WaitForSingleObject(done, INFINITE); // the request is ours until it ends
                problem = waited == WAIT_TIMEOUT ? kSharedTimeout : kSharedIncomplete;
                break;
            }
        }
        if (!GetOverlappedResult(file, &request, &read, FALSE)) {
            DWORD error = GetLastError();
            if (error == ERROR_HANDLE_EOF)
                break;
            problem = ReadProblem(*size);
            break;
        }
        if (read == 0)
            break;
        *size += read;
    }
    CloseHandle(done);
    if (problem != kSharedFine) {
        free(buffer);
        *size = 0;
        return problem;
    }
    *bytes = buffer;
    return kSharedFine;
}

// Hands the parsed bytes to the builds; false (nothing handed) when they are
// no whole menu.
SharedProblem HandBytes(const char* bytes, size_t size, DWORD* entries) {
    MenuSnapshot menu = {};
    SharedProblem problem = ParseSharedMenu(bytes, size, &menu);
    if (problem != kSharedFine)
        return problem;
    *entries = menu.count;
    HandSharedMenu(&menu, Current.setting);
    return kSharedFine;
}

SharedProblem CheckPath(HANDLE stop) {
    if (!IsFullPath(Current.path))
        return kSharedInsecure;
    HANDLE file = CreateFileW(Current.path, GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return OpenProblem(GetLastError());
    Stamp before = StampOf(file);
    if (SameStamp(before, Current.stamp)) {
        CloseHandle(file);
        return kSharedFine; // unchanged
    }
    char* bytes = nullptr;
    size_t size = 0;
    SharedProblem problem = ReadWhole(file, stop, &bytes, &size);
    Stamp after = StampOf(file);
    CloseHandle(file);
    if (problem == kSharedFine && before.known &&
        (!SameStamp(before, after) ||
         (static_cast<unsigned long long>(before.sizeHigh) << 32 | before.sizeLow) != size))
        problem = kSharedIncomplete; // written while it was read
    DWORD entries = 0;
    if (problem == kSharedFine)
        problem = HandBytes(bytes, size, &entries);
    if (problem == kSharedFine) {
        Current.stamp = before;
        WriteSharedCopy(bytes, size);
        StateTimeNow(Current.state.copyRead);
        Current.state.entries = entries;
    }
    free(bytes);
    return problem;
}

SharedProblem CheckAddress(void) {
    HttpValidators validators = Current.state.validators;
    char* bytes = nullptr;
    size_t size = 0;
    SharedProblem problem =
        FetchSharedAddress(Current.path, &validators, &bytes, &size, &Current.state.httpStatus);
    if (problem != kSharedFine || !bytes)
        return problem; // or unchanged (304)
    DWORD entries = 0;
    problem = HandBytes(bytes, size, &entries);
    if (problem == kSharedFine) {
        Current.state.validators = validators;
        WriteSharedCopy(bytes, size);
        StateTimeNow(Current.state.copyRead);
        Current.state.entries = entries;
    }
    free(bytes);
    return problem;
}

} // namespace

void NoteSharedSetting(const char* setting) {
    if (!setting)
        setting = "";
    if (strcmp(setting, Current.setting) == 0)
        return;
    static bool seeded = false;
    if (!seeded) {
        srand(GetTickCount() ^ GetCurrentThreadId());
        seeded = true;
    }
    memset(&Current, 0, sizeof Current);
    lstrcpynA(Current.setting, setting, sizeof Current.setting);
    if (!setting[0]) {
        HandSharedMenu(nullptr, Current.setting);
        return;
    }
    MultiByteToWideChar(CP_ACP, 0, setting, -1, Current.path, sizeof Current.path / sizeof(WCHAR));
    ReadSharedState(Current.path, &Current.state);
    // The local copy of this very source, so that the menu is there before
    // the source answers, and while it does not.
    bool shown = false;
    if (Current.state.copyRead[0]) {
        size_t size = 0;
        char* bytes = ReadSharedCopy(&size);
        DWORD entries = 0;
        shown = bytes && HandBytes(bytes, size, &entries) == kSharedFine;
        free(bytes);
    }
    if (!shown)
        HandSharedMenu(nullptr, Current.setting);
    Current.due = true;
}

void CheckSharedSoon(void) {
    if (Current.setting[0])
        Current.due = true;
}

bool SharedCheckDue(DWORD* waitMs) {
    *waitMs = INFINITE;
    if (!Current.setting[0])
        return false;
    DWORD left = Current.nextCheck - GetTickCount();
    if (Current.due || left == 0 || left > kCheckPeriodMs + kCheckSpreadMs)
        return true;
    *waitMs = left;
    return false;
}

void CheckSharedSource(HANDLE stop) {
    SharedProblem problem = IsSharedAddress(Current.path) ? CheckAddress() : CheckPath(stop);
    if (WaitForSingleObject(stop, 0) == WAIT_OBJECT_0)
        return; // ended by the plug-in, not by the source
    StateTimeNow(Current.state.lastCheck);
    if (problem == kSharedFine)
        Current.state.problemSince[0] = L'\0';
    else if (problem != Current.state.problem || !Current.state.problemSince[0])
        StateTimeNow(Current.state.problemSince);
    Current.state.problem = problem;
    WriteSharedState(&Current.state);
    ScheduleNext();
}

void EndSharedSource(void) {
    EndSharedAddresses();
    memset(&Current, 0, sizeof Current);
}
