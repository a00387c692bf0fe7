// A list of owned NUL-terminated strings, indexed by the data values that the
// plug-in hands to the host with its menu callbacks.
#pragma once
#include <windows.h>

struct TextList {
    DWORD count;
    char** items;
    DWORD capacity; // slots of items; only the first count hold strings
    bool lent;      // the strings are lent (TextListLend), not the list's own
};

// Appends a heap copy of text (null counts as ""). Returns the new count, or 0
// when memory ran out (the list is then unchanged).
DWORD TextListAppend(TextList* list, const char* text);

// Appends text itself, not a copy (null counts as ""): whoever lends it keeps
// it alive for as long as the list holds it. A list holds either copies or
// lent strings. Returns the new count, or 0 when memory ran out.
DWORD TextListLend(TextList* list, const char* text);

// Releases every string it owns and the array; the list becomes empty.
void TextListClear(TextList* list);

// The text at index, or null when index is not below the count.
const char* TextListAt(const TextList* list, DWORD index);
