// The text lists behind the menu entries. The array doubles when it is full:
// a menu of ten thousand entries would otherwise copy fifty million pointers
// (and reallocate ten thousand times) on every build.
#include "text_list.h"

#include <stdlib.h>
#include <string.h>

namespace {

const DWORD kFirstCapacity = 16;

// Makes room for one more slot; false when memory ran out.
bool Reserve(TextList* list) {
    if (list->count < list->capacity)
        return true;
    DWORD capacity = list->capacity ? list->capacity * 2 : kFirstCapacity;
    if (capacity < list->capacity || static_cast<size_t>(capacity) > SIZE_MAX / sizeof(char*))
        return false;
    char** items = static_cast<char**>(realloc(list->items, capacity * sizeof(char*)));
    if (!items)
        return false;
    list->items = items;
    list->capacity = capacity;
    return true;
}

} // namespace

DWORD TextListAppend(TextList* list, const char* text) {
    if (!text)
        text = "";
    if (!Reserve(list))
        return 0;
    size_t length = strlen(text);
    char* copy = static_cast<char*>(malloc(length + 1));
    if (!copy)
        return 0;
    memcpy(copy, text, length + 1);
    list->items[list->count] = copy;
    return ++list->count;
}

DWORD TextListLend(TextList* list, const char* text) {
    if (!Reserve(list))
        return 0;
    list->lent = true;
    list->items[list->count] = const_cast<char*>(text ? text : "");
    return ++list->count;
}

void TextListClear(TextList* list) {
    for (DWORD i = 0; i < list->count && !list->lent; ++i)
        free(list->items[i]);
    list->lent = false;
    free(list->items);
    list->items = nullptr;
    list->count = 0;
    list->capacity = 0;
}

const char* TextListAt(const TextList* list, DWORD index) {
    return index < list->count ? list->items[index] : nullptr;
}
