// A list of owned NUL-terminated strings, indexed by the data values that the
// plug-in hands to the host with its menu callbacks.
#pragma once
#include <windows.h>

struct TextList {
    DWORD count;
    char** items;
    DWORD capacity; // slots of items; only the first count hold strings
};

// Appends a heap copy of text (null counts as ""). Returns the new count, or 0
// when memory ran out (the list is then unchanged).
DWORD TextListAppend(TextList* list, const char* text);

// Releases every string and the array; the list becomes empty.
void TextListClear(TextList* list);

// The text at index, or null when index is not below the count.
const char* TextListAt(const TextList* list, DWORD index);
