// One address book read into memory: the lines that mean something, in the
// file's order, which the address popup is built from.
#pragma once
#include <windows.h>

#include "book_lines.h"

struct BookItem {
    BookLineKind kind; // group, separator, end of group or entry
    char* label;       // group title or entry label; "" for the others
    char* text;        // entry text; "" for the others
};

struct ParsedBook {
    BookItem* items;
    DWORD count;
    DWORD capacity;
    // Reading ended early (a read error, or memory ran out): the items are the
    // file's beginning.
    bool failed;
};

// Reads the book at path (read only, shared with nobody) into an empty book.
// False when the file cannot be opened.
bool ParseBookFile(const char* path, ParsedBook* book);

void FreeParsedBook(ParsedBook* book);
