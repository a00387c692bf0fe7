// Reading an address book into its items. Each item is one allocation that
// holds its label and text one after the other.
#include "address_book.h"

#include "book_reader.h"

#include <stdlib.h>
#include <string.h>

namespace {

bool AddItem(ParsedBook* book, BookLineKind kind, const BookSpan& label, const BookSpan& text) {
    if (book->count == book->capacity) {
        DWORD capacity = book->capacity ? book->capacity * 2 : 64;
        BookItem* items =
            capacity < book->capacity || capacity > SIZE_MAX / sizeof(BookItem)
                ? nullptr
                : static_cast<BookItem*>(realloc(book->items, capacity * sizeof(BookItem)));
        if (!items)
            return false;
        book->items = items;
        book->capacity = capacity;
    }
    char* bytes = static_cast<char*>(malloc(label.length + text.length + 2));
    if (!bytes)
        return false;
    memcpy(bytes, label.begin, label.length);
    bytes[label.length] = '\0';
    char* textBytes = bytes + label.length + 1;
    memcpy(textBytes, text.begin, text.length);
    textBytes[text.length] = '\0';
    book->items[book->count++] = {kind, bytes, textBytes};
    return true;
}

} // namespace

bool ParseBookFile(const char* path, ParsedBook* book) {
    HANDLE handle =
        CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    BookReader file;
    BookReaderInit(&file, handle);
    while (char* line = ReadBookLine(&file)) {
        BookLine parsed = ParseBookLine(line, strlen(line));
        const BookSpan none = {"", 0};
        bool kept =
            parsed.kind == BookLineSkip ||
            AddItem(book, parsed.kind,
                    parsed.kind == BookLineGroup || parsed.kind == BookLineEntry ? parsed.label
                                                                                 : none,
                    parsed.kind == BookLineEntry ? parsed.text : none);
        free(line);
        if (!kept) {
            BookReaderStop(&file);
            break;
        }
    }
    book->failed = file.failed;
    BookReaderRelease(&file);
    CloseHandle(handle);
    return true;
}

void FreeParsedBook(ParsedBook* book) {
    for (DWORD i = 0; i < book->count; ++i)
        free(book->items[i].label);
    free(book->items);
    *book = {};
}
