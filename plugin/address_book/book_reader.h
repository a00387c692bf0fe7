// Reads an address book line by line. The file is read ahead in large blocks:
// a system call per byte costs more than the whole parse.
#pragma once
#include <windows.h>

struct BookReader {
    HANDLE file;
    char* block;    // bytes read ahead from the file
    DWORD filled;   // bytes held in block
    DWORD position; // next byte of block not yet consumed
    bool ended;     // end of file, read error or no memory: no more lines
    bool failed;    // ended by a read error or by memory, not by the end
};

// Starts reading file, which the caller keeps open and closes afterwards.
void BookReaderInit(BookReader* reader, HANDLE file);

// Releases the read-ahead block; the file itself stays open.
void BookReaderRelease(BookReader* reader);

// Makes every later ReadBookLine return null: the rest of the file is dropped,
// and the reading counts as failed.
void BookReaderStop(BookReader* reader);

// The next line without its line feed, with its leading spaces and tabs
// removed and cut at its first carriage return that follows some other byte,
// as a zero-terminated string for the caller to free(). Lines have no length
// limit. Returns null at the end of the file, after a read error, or when
// memory runs out; a last line that no line feed ends is not returned.
char* ReadBookLine(BookReader* reader);
