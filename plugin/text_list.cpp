// The text lists behind the menu entries. The array grows by exactly one slot
// per append; lists are short and rebuilt at every menu build.
#include "text_list.h"

#include <stdlib.h>
#include <string.h>

DWORD TextListAppend(TextList* list, const char* text) {
    if (!text)
        text = "";
    size_t length = strlen(text);
    char* copy = static_cast<char*>(malloc(length + 1));
    if (!copy)
        return 0;
    memcpy(copy, text, length + 1);
    char** items = static_cast<char**>(malloc((list->count + 1) * sizeof(char*)));
    if (!items) {
        free(copy);
        return 0;
    }
    if (list->count)
        memcpy(items, list->items, list->count * sizeof(char*));
    free(list->items);
    items[list->count] = copy;
    list->items = items;
    return ++list->count;
}

void TextListClear(TextList* list) {
    for (DWORD i = 0; i < list->count; ++i)
        free(list->items[i]);
    free(list->items);
    list->items = nullptr;
    list->count = 0;
}

const char* TextListAt(const TextList* list, DWORD index) {
    return index < list->count ? list->items[index] : nullptr;
}
