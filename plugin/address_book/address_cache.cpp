// Whether a book's file changed is told by its size, its last-write and
// creation times and its attributes, which one call gets without opening the
// file. A file rewritten or replaced gets a new last-write time; the stamp is
// taken before the read, so a change made during the read is seen at the
// next build. The clock that dates writes moves in steps (about 16 ms on
// Windows, 2 s on FAT), so two writes of the same size within one step keep
// the same stamp: a book written that recently is read again at every build
// until its time is older than kSettledAge.
#include "address_cache.h"

#include <stdlib.h>
#include <string.h>

namespace {

struct KeptBook {
    char* path;
    WIN32_FILE_ATTRIBUTE_DATA stamp;
    bool kept; // book is the file as of stamp
    ParsedBook book;
};

struct BookCache {
    KeptBook* books;
    DWORD count;
};

BookCache Cache;

// The host's list of books, from its settings file.
struct KeptValue {
    char* path;
    char* value;
    DWORD length;
    WIN32_FILE_ATTRIBUTE_DATA stamp;
    bool kept;
};

KeptValue List;

// 100-ns units: two seconds.
const ULONGLONG kSettledAge = 2ULL * 10000000ULL;

bool WrittenLongAgo(const FILETIME& written) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER writtenAt = {{written.dwLowDateTime, written.dwHighDateTime}};
    ULARGE_INTEGER nowAt = {{now.dwLowDateTime, now.dwHighDateTime}};
    return nowAt.QuadPart > writtenAt.QuadPart &&
           nowAt.QuadPart - writtenAt.QuadPart >= kSettledAge;
}

bool SameStamp(const WIN32_FILE_ATTRIBUTE_DATA& a, const WIN32_FILE_ATTRIBUTE_DATA& b) {
    return a.dwFileAttributes == b.dwFileAttributes && a.nFileSizeHigh == b.nFileSizeHigh &&
           a.nFileSizeLow == b.nFileSizeLow &&
           CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0 &&
           CompareFileTime(&a.ftCreationTime, &b.ftCreationTime) == 0;
}

void Forget(KeptBook* kept) {
    free(kept->path);
    FreeParsedBook(&kept->book);
    *kept = {};
}

// The slot for position, the list grown to hold it; null when memory ran out.
KeptBook* SlotAt(DWORD position) {
    if (position < Cache.count)
        return &Cache.books[position];
    if (position != Cache.count || position + 1 > SIZE_MAX / sizeof(KeptBook))
        return nullptr;
    KeptBook* books =
        static_cast<KeptBook*>(realloc(Cache.books, (position + 1) * sizeof(KeptBook)));
    if (!books)
        return nullptr;
    Cache.books = books;
    Cache.books[Cache.count++] = {};
    return &Cache.books[position];
}

char* CopyPath(const char* path) {
    size_t size = strlen(path) + 1;
    char* copy = static_cast<char*>(malloc(size));
    if (copy)
        memcpy(copy, path, size);
    return copy;
}

} // namespace

const ParsedBook* AddressBookAt(DWORD position, const char* path) {
    KeptBook* kept = SlotAt(position);
    if (!kept)
        return nullptr;
    WIN32_FILE_ATTRIBUTE_DATA stamp;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &stamp)) {
        Forget(kept);
        return nullptr;
    }
    if (kept->kept && strcmp(kept->path, path) == 0 && SameStamp(kept->stamp, stamp))
        return &kept->book;
    Forget(kept);
    if (!ParseBookFile(path, &kept->book))
        return nullptr;
    // A read cut short shows what it has, and the next build reads again;
    // so does one of a book written a moment ago.
    kept->path = kept->book.failed ? nullptr : CopyPath(path);
    kept->stamp = stamp;
    kept->kept = kept->path != nullptr && WrittenLongAgo(stamp.ftLastWriteTime);
    return &kept->book;
}

void ForgetAddressBooksFrom(DWORD position) {
    for (DWORD i = position; i < Cache.count; ++i)
        Forget(&Cache.books[i]);
    if (position < Cache.count)
        Cache.count = position;
}

const char* KeptAddressFileValue(const char* settingsPath, DWORD* length,
                                 AddressFileValueReader read) {
    WIN32_FILE_ATTRIBUTE_DATA stamp;
    bool stamped = GetFileAttributesExA(settingsPath, GetFileExInfoStandard, &stamp) != FALSE;
    if (!stamped || !List.kept || strcmp(List.path, settingsPath) != 0 ||
        !SameStamp(List.stamp, stamp)) {
        free(List.path);
        free(List.value);
        List = {};
        List.value = read(settingsPath, &List.length);
        if (List.value && stamped) {
            List.path = CopyPath(settingsPath);
            List.stamp = stamp;
            List.kept = List.path != nullptr && WrittenLongAgo(stamp.ftLastWriteTime);
        }
    }
    *length = List.length;
    return List.value;
}

void FreeAddressBookCache(void) {
    free(List.path);
    free(List.value);
    List = {};
    ForgetAddressBooksFrom(0);
    free(Cache.books);
    Cache = {};
}
