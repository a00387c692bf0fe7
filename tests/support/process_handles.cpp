#include "process_handles.h"

#include <windows.h>

#include <winternl.h>

#include <cstdlib>

#include "common/proc_cast.h"

namespace {
const ULONG kHandleInformation = 16;
const ULONG kExtendedHandleInformation = 64;
const NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

typedef NTSTATUS(NTAPI* QuerySystemInformationFn)(ULONG, PVOID, ULONG, PULONG);

// One row of the extended list: the owner's id is a whole ULONG_PTR there,
// where the older list keeps only 16 bits of it on Windows.
struct ExtendedHandleEntry {
    PVOID object;
    ULONG_PTR ownerPid;
    ULONG_PTR handleValue;
    ULONG grantedAccess;
    USHORT creatorBackTraceIndex;
    USHORT objectTypeIndex;
    ULONG handleAttributes;
    ULONG reserved;
};

struct ExtendedHandleList {
    ULONG_PTR count;
    ULONG_PTR reserved;
    ExtendedHandleEntry entries[1];
};

// The system-wide list of the given class in a buffer grown until it fits
// (free it with free), or null.
void* QueryHandleList(QuerySystemInformationFn query, ULONG infoClass) {
    ULONG size = 64 * 1024;
    for (int attempt = 0; attempt < 16; ++attempt) {
        void* buffer = malloc(size);
        if (!buffer)
            return nullptr;
        ULONG needed = 0;
        NTSTATUS status = query(infoClass, buffer, size, &needed);
        if (status >= 0)
            return buffer;
        free(buffer);
        if (status != kInfoLengthMismatch)
            return nullptr;
        // Handles opened meanwhile make the answer grow again: leave room.
        size = (needed > size ? needed : size * 2) + 16 * 1024;
    }
    return nullptr;
}

int CountExtended(QuerySystemInformationFn query, DWORD pid) {
    auto* list =
        static_cast<ExtendedHandleList*>(QueryHandleList(query, kExtendedHandleInformation));
    if (!list)
        return -1;
    int count = 0;
    for (ULONG_PTR i = 0; i < list->count; ++i)
        if (list->entries[i].ownerPid == pid)
            ++count;
    free(list);
    return count;
}

int CountClassic(QuerySystemInformationFn query, DWORD pid) {
    auto* list =
        static_cast<SYSTEM_HANDLE_INFORMATION*>(QueryHandleList(query, kHandleInformation));
    if (!list)
        return -1;
    int count = 0;
    for (ULONG i = 0; i < list->Count; ++i)
        if ((list->Handle[i].OwnerPid & 0xFFFF) == (pid & 0xFFFF))
            ++count;
    free(list);
    return count;
}
} // namespace

int CountProcessHandles(void) {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (!ntdll)
        return -1;
    auto query = GetProcAs<QuerySystemInformationFn>(ntdll, "NtQuerySystemInformation");
    if (!query)
        return -1;
    DWORD pid = GetCurrentProcessId();
    int count = CountExtended(query, pid);
    return count >= 0 ? count : CountClassic(query, pid);
}
