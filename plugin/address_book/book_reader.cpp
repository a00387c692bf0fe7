// Buffered line reading of address books. The observable rules are those of
// reading the file one byte at a time: only line feeds end lines, the bytes of
// an unfinished last line are dropped, and any failure ends the file.
#include "book_reader.h"

#include "book_lines.h"

#include <stdlib.h>
#include <string.h>

namespace {

const DWORD kBlockSize = 64 * 1024;
const size_t kFirstLineSize = 1024;

// Refills the block; false (and the reader ended) at the end or on an error.
bool FillBlock(BookReader* reader) {
    if (reader->ended)
        return false;
    DWORD got = 0;
    if (!ReadFile(reader->file, reader->block, kBlockSize, &got, nullptr)) {
        BookReaderStop(reader);
        return false;
    }
    if (got == 0) {
        reader->ended = true;
        return false;
    }
    reader->filled = got;
    reader->position = 0;
    return true;
}

struct LineBuffer {
    char* bytes;
    size_t length;
    size_t size;
};

// Appends count bytes, keeping room for the terminating zero.
bool Append(LineBuffer* line, const char* bytes, size_t count) {
    size_t needed = line->length + count + 1;
    if (needed < line->length)
        return false;
    if (needed > line->size) {
        size_t size = line->size * 2 > needed ? line->size * 2 : needed;
        char* grown = static_cast<char*>(realloc(line->bytes, size));
        if (!grown)
            return false;
        line->bytes = grown;
        line->size = size;
    }
    memcpy(line->bytes + line->length, bytes, count);
    line->length += count;
    return true;
}

} // namespace

void BookReaderInit(BookReader* reader, HANDLE file) {
    reader->file = file;
    reader->block = static_cast<char*>(malloc(kBlockSize));
    reader->filled = 0;
    reader->position = 0;
    reader->ended = reader->block == nullptr;
    reader->failed = reader->ended;
}

void BookReaderRelease(BookReader* reader) {
    free(reader->block);
    reader->block = nullptr;
    reader->ended = true;
}

void BookReaderStop(BookReader* reader) {
    reader->ended = true;
    reader->failed = true;
    reader->position = reader->filled;
}

char* ReadBookLine(BookReader* reader) {
    LineBuffer line = {static_cast<char*>(malloc(kFirstLineSize)), 0, kFirstLineSize};
    if (!line.bytes) {
        BookReaderStop(reader);
        return nullptr;
    }
    bool inLeadingBlanks = true;
    for (;;) {
        if (reader->position == reader->filled && !FillBlock(reader))
            break;
        const char* next = reader->block + reader->position;
        const char* end = reader->block + reader->filled;
        if (inLeadingBlanks) {
            while (next < end && (*next == ' ' || *next == '\t'))
                ++next;
            if (next == end) {
                reader->position = reader->filled;
                continue;
            }
            inLeadingBlanks = false;
        }
        const char* feed = static_cast<const char*>(memchr(next, '\n', end - next));
        const char* chunkEnd = feed ? feed : end;
        if (!Append(&line, next, chunkEnd - next)) {
            BookReaderStop(reader);
            break;
        }
        reader->position = static_cast<DWORD>((feed ? feed + 1 : end) - reader->block);
        if (feed) {
            line.length = BookLineCutLength(line.bytes, line.length);
            line.bytes[line.length] = '\0';
            return line.bytes;
        }
    }
    free(line.bytes);
    return nullptr;
}
