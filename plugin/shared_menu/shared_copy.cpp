// Paths are wide and absolute: the folder comes from the system, never from
// the current directory.
#include "shared_copy.h"

#include "common/rename_replacing.h"

#include <shlobj.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

const WCHAR kSection[] = L"SharedMenu";
const WCHAR kCopyName[] = L"shared-menu.json";
const WCHAR kStateName[] = L"shared-menu-state.ini";
const WCHAR kTemporaryName[] = L"shared-menu.json.new";
// The editor's page 共有メニュー reads the copy now and then; the reader thread
// can wait that long for it.
const DWORD kCopyReplaceWaitMs = 2000;

const WCHAR* const kProblemWords[] = {
    L"none",          L"unreachable", L"not-found",  L"timeout",  L"insecure",    L"not-backup",
    L"later-version", L"too-large",   L"incomplete", L"bad-menu", L"http-status", L"certificate",
};

// "<Local AppData>\Ostrel\Tevrix\" + name, the folders made when missing.
bool PathInFolder(const WCHAR* name, WCHAR* path, size_t capacity) {
    WCHAR base[MAX_PATH];
    if (FAILED(
            SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, base)))
        return false;
    int written = _snwprintf(path, capacity, L"%ls\\Ostrel", base);
    if (written < 0 || static_cast<size_t>(written) >= capacity)
        return false;
    CreateDirectoryW(path, nullptr);
    written = _snwprintf(path, capacity, L"%ls\\Ostrel\\Tevrix", base);
    if (written < 0 || static_cast<size_t>(written) >= capacity)
        return false;
    CreateDirectoryW(path, nullptr);
    written = _snwprintf(path, capacity, L"%ls\\Ostrel\\Tevrix\\%ls", base, name);
    return written >= 0 && static_cast<size_t>(written) < capacity;
}

const size_t kPathChars = MAX_PATH * 2;

void ReadKey(const WCHAR* file, const WCHAR* key, WCHAR* value, DWORD capacity) {
    GetPrivateProfileStringW(kSection, key, L"", value, capacity, file);
}

} // namespace

void StateTimeNow(WCHAR* time) {
    SYSTEMTIME now;
    GetSystemTime(&now);
    _snwprintf(time, kStateTimeChars, L"%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth,
               now.wDay, now.wHour, now.wMinute, now.wSecond);
    time[kStateTimeChars - 1] = L'\0';
}

void ReadSharedState(const WCHAR* source, SharedState* state) {
    memset(state, 0, sizeof *state);
    lstrcpynW(state->source, source, sizeof state->source / sizeof(WCHAR));
    WCHAR file[kPathChars];
    if (!PathInFolder(kStateName, file, kPathChars))
        return;
    WCHAR kept[MAX_PATH * 4];
    ReadKey(file, L"Source", kept, sizeof kept / sizeof(WCHAR));
    if (lstrcmpW(kept, source) != 0)
        return;
    ReadKey(file, L"CopyRead", state->copyRead, kStateTimeChars);
    ReadKey(file, L"LastCheck", state->lastCheck, kStateTimeChars);
    ReadKey(file, L"ProblemSince", state->problemSince, kStateTimeChars);
    WCHAR number[16];
    ReadKey(file, L"Entries", number, 16);
    state->entries = wcstoul(number, nullptr, 10);
    ReadKey(file, L"ETag", state->validators.etag, 256);
    ReadKey(file, L"LastModified", state->validators.lastModified, 64);
    WCHAR word[32];
    ReadKey(file, L"Problem", word, 32);
    for (size_t i = 0; i < sizeof kProblemWords / sizeof kProblemWords[0]; ++i)
        if (lstrcmpW(word, kProblemWords[i]) == 0)
            state->problem = static_cast<SharedProblem>(i);
}

void WriteSharedState(const SharedState* state) {
    WCHAR file[kPathChars];
    if (!PathInFolder(kStateName, file, kPathChars))
        return;
    WCHAR number[16];
    _snwprintf(number, 16, L"%lu", static_cast<unsigned long>(state->entries));
    number[15] = L'\0';
    WritePrivateProfileStringW(kSection, L"Source", state->source, file);
    WritePrivateProfileStringW(kSection, L"CopyRead", state->copyRead, file);
    WritePrivateProfileStringW(kSection, L"Entries", state->copyRead[0] ? number : L"", file);
    WritePrivateProfileStringW(kSection, L"LastCheck", state->lastCheck, file);
    WritePrivateProfileStringW(kSection, L"Problem", kProblemWords[state->problem], file);
    WritePrivateProfileStringW(kSection, L"ProblemSince", state->problemSince, file);
    WCHAR status[16] = L"";
    if (state->httpStatus)
        _snwprintf(status, 16, L"%lu", static_cast<unsigned long>(state->httpStatus));
    status[15] = L'\0';
    WritePrivateProfileStringW(kSection, L"HttpStatus", status, file);
    // The profile functions take one pair of quotes around a value away, and
    // an ETag is quoted: it is written inside another pair.
    WCHAR etag[260];
    _snwprintf(etag, 260, L"\"%ls\"", state->validators.etag);
    etag[259] = L'\0';
    WritePrivateProfileStringW(kSection, L"ETag", state->validators.etag[0] ? etag : L"", file);
    WritePrivateProfileStringW(kSection, L"LastModified", state->validators.lastModified, file);
}

bool WriteSharedCopy(const char* bytes, size_t size) {
    WCHAR copy[kPathChars], temporary[kPathChars];
    if (!PathInFolder(kCopyName, copy, kPathChars) ||
        !PathInFolder(kTemporaryName, temporary, kPathChars))
        return false;
    HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool written = true;
    for (size_t done = 0; written && done < size;) {
        DWORD chunk = size - done > (1u << 20) ? (1u << 20) : static_cast<DWORD>(size - done);
        DWORD wrote = 0;
        written = WriteFile(file, bytes + done, chunk, &wrote, nullptr) && wrote == chunk;
        done += wrote;
    }
    written = FlushFileBuffers(file) && written;
    CloseHandle(file);
    if (!written || !RenameReplacingW(temporary, copy, kCopyReplaceWaitMs)) {
        DeleteFileW(temporary);
        return false;
    }
    return true;
}

char* ReadSharedCopy(size_t* size) {
    *size = 0;
    WCHAR path[kPathChars];
    if (!PathInFolder(kCopyName, path, kPathChars))
        return nullptr;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    LARGE_INTEGER length;
    char* bytes = nullptr;
    if (GetFileSizeEx(file, &length) &&
        length.QuadPart <= static_cast<LONGLONG>(kSharedMenuMaxBytes)) {
        size_t wanted = static_cast<size_t>(length.QuadPart);
        bytes = static_cast<char*>(malloc(wanted ? wanted : 1));
        DWORD read = 0;
        if (bytes &&
            (wanted == 0 || (ReadFile(file, bytes, static_cast<DWORD>(wanted), &read, nullptr) &&
                             read == wanted))) {
            *size = wanted;
        } else {
            free(bytes);
            bytes = nullptr;
        }
    }
    CloseHandle(file);
    return bytes;
}
