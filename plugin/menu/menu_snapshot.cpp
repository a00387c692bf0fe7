// Reading the store's menu: each level's keys in the order of the numbers in
// their names, key names of any length, and a read that ends with what it has
// when memory runs out.
#include "menu_snapshot.h"

#include <stdlib.h>
#include <string.h>

#include "menu_store.h"
#include "common/menu_store_rules.h"

namespace {

// Key names are at most 255 characters, 510 Shift-JIS bytes, but the ANSI
// functions pass longer ones on some systems; the buffer grows until a name
// fits, up to this bound.
const DWORD kFirstNameBufferSize = 512;
const DWORD kLargestNameBufferSize = 64 * 1024;
// The registry nests keys no deeper than 512 levels; the bound keeps the
// recursion finite whatever a store holds.
const DWORD kDeepestLevel = 1024;

struct KeyName {
    char* name;
    menu_store::EntryKeyOrder order;
};

struct KeyNameList {
    KeyName* names;
    DWORD count;
    DWORD capacity;
};

struct SnapshotRead {
    MenuSnapshot* snapshot;
    char* nameBuffer;
    DWORD nameBufferSize;
    bool* disturbed;
};

void FreeKeyNames(KeyNameList* list) {
    for (DWORD i = 0; i < list->count; ++i)
        free(list->names[i].name);
    free(list->names);
}

bool AddKeyName(KeyNameList* list, const char* name, DWORD length) {
    if (list->count == list->capacity) {
        DWORD capacity = list->capacity ? list->capacity * 2 : 16;
        if (capacity < list->capacity || capacity > SIZE_MAX / sizeof(KeyName))
            return false;
        KeyName* names = static_cast<KeyName*>(realloc(list->names, capacity * sizeof(KeyName)));
        if (!names)
            return false;
        list->names = names;
        list->capacity = capacity;
    }
    char* copy = static_cast<char*>(malloc(length + 1));
    if (!copy)
        return false;
    memcpy(copy, name, length);
    copy[length] = '\0';
    KeyName* added = &list->names[list->count];
    added->name = copy;
    added->order = menu_store::EntryKeyOrderOf(copy, length, list->count);
    ++list->count;
    return true;
}

int CompareKeyNames(const void* a, const void* b) {
    return menu_store::CompareEntryKeys(static_cast<const KeyName*>(a)->order,
                                        static_cast<const KeyName*>(b)->order);
}

// The names of key's children in the store's order. False when memory ran
// out; the names listed so far are kept.
bool ListEntryKeys(SnapshotRead* read, HKEY key, KeyNameList* list) {
    for (DWORD index = 0;;) {
        DWORD length = read->nameBufferSize;
        LONG result = RegEnumKeyExA(key, index, read->nameBuffer, &length, nullptr, nullptr,
                                    nullptr, nullptr);
        if (result == ERROR_MORE_DATA && read->nameBufferSize < kLargestNameBufferSize) {
            char* larger = static_cast<char*>(malloc(read->nameBufferSize * 2));
            if (!larger)
                return false;
            free(read->nameBuffer);
            read->nameBuffer = larger;
            read->nameBufferSize *= 2;
            continue; // the same index again
        }
        if (result == ERROR_SUCCESS) {
            if (!AddKeyName(list, read->nameBuffer, length))
                return false;
        } else if (result != ERROR_MORE_DATA) {
            // The end, or a key that can no longer be listed (deleted by a
            // save): its entries up to here are not all of them.
            if (result != ERROR_NO_MORE_ITEMS)
                *read->disturbed = true;
            break;
        }
        ++index;
    }
    if (list->count > 1)
        qsort(list->names, list->count, sizeof(KeyName), CompareKeyNames);
    return true;
}

// Takes ownership of title and text (null for a submenu); frees them when
// memory ran out.
bool AddEntry(MenuSnapshot* snapshot, char* title, char* text, DWORD depth) {
    if (snapshot->count == snapshot->capacity) {
        DWORD capacity = snapshot->capacity ? snapshot->capacity * 2 : 64;
        SnapshotEntry* entries =
            capacity < snapshot->capacity || capacity > SIZE_MAX / sizeof(SnapshotEntry)
                ? nullptr
                : static_cast<SnapshotEntry*>(
                      realloc(snapshot->entries, capacity * sizeof(SnapshotEntry)));
        if (!entries) {
            free(title);
            free(text);
            return false;
        }
        snapshot->entries = entries;
        snapshot->capacity = capacity;
    }
    snapshot->entries[snapshot->count++] = {title, text, depth};
    return true;
}

bool ReadLevel(SnapshotRead* read, HKEY menuKey, DWORD depth);

// One entry key; false when memory ran out.
bool ReadEntry(SnapshotRead* read, HKEY entry, DWORD depth) {
    char* title = ReadStoreString(entry, nullptr, read->disturbed);
    if (!title)
        return false;
    if (ReadStoreNumber(entry, "Type", read->disturbed) == 1) {
        if (!AddEntry(read->snapshot, title, nullptr, depth))
            return false;
        return depth + 1 >= kDeepestLevel || ReadLevel(read, entry, depth + 1);
    }
    char* text = ReadStoreString(entry, "URL", read->disturbed);
    if (!text) {
        free(title);
        return false;
    }
    return AddEntry(read->snapshot, title, text, depth);
}

bool ReadLevel(SnapshotRead* read, HKEY menuKey, DWORD depth) {
    KeyNameList names = {};
    bool complete = ListEntryKeys(read, menuKey, &names);
    for (DWORD i = 0; complete && i < names.count; ++i) {
        HKEY entry = nullptr;
        if (RegOpenKeyExA(menuKey, names.names[i].name, 0, KEY_READ, &entry) != ERROR_SUCCESS) {
            // Listed but not openable: deleted since, or a name without an
            // ANSI form. Left out; the caller judges the read.
            *read->disturbed = true;
            continue;
        }
        complete = ReadEntry(read, entry, depth);
        RegCloseKey(entry);
    }
    FreeKeyNames(&names);
    return complete;
}

} // namespace

void ReadMenuSnapshot(HKEY menuKey, MenuSnapshot* snapshot, bool* disturbed) {
    SnapshotRead read = {snapshot, static_cast<char*>(malloc(kFirstNameBufferSize)),
                         kFirstNameBufferSize, disturbed};
    snapshot->truncated = !read.nameBuffer || !ReadLevel(&read, menuKey, 0);
    free(read.nameBuffer);
}

namespace {

char* CopyText(const char* text) {
    if (!text)
        return nullptr;
    size_t size = strlen(text) + 1;
    char* copy = static_cast<char*>(malloc(size));
    if (copy)
        memcpy(copy, text, size);
    return copy;
}

} // namespace

bool CopyMenuSnapshot(const MenuSnapshot* from, MenuSnapshot* copy) {
    *copy = {};
    if (from->count == 0)
        return true;
    copy->entries = static_cast<SnapshotEntry*>(calloc(from->count, sizeof(SnapshotEntry)));
    if (!copy->entries)
        return false;
    copy->capacity = from->count;
    copy->truncated = from->truncated;
    for (DWORD i = 0; i < from->count; ++i) {
        const SnapshotEntry& entry = from->entries[i];
        SnapshotEntry& target = copy->entries[i];
        target.depth = entry.depth;
        target.title = CopyText(entry.title);
        target.text = CopyText(entry.text);
        ++copy->count;
        if ((entry.title && !target.title) || (entry.text && !target.text)) {
            FreeMenuSnapshot(copy);
            return false;
        }
    }
    return true;
}

const char* SnapshotTextAt(const MenuSnapshot* snapshot, DWORD data) {
    DWORD number = 0;
    for (DWORD i = 0; i < snapshot->count; ++i) {
        const char* text = snapshot->entries[i].text;
        if (text && number++ == data)
            return text;
    }
    return nullptr;
}

void FreeMenuSnapshot(MenuSnapshot* snapshot) {
    for (DWORD i = 0; i < snapshot->count; ++i) {
        free(snapshot->entries[i].title);
        free(snapshot->entries[i].text);
    }
    free(snapshot->entries);
    *snapshot = {};
}
