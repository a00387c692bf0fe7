// A growing block of bytes in malloc'd memory. Once an allocation fails the
// buffer stays failed, so a caller checks once at the end and never inserts a
// text with a hole in it.
#pragma once
#include <stddef.h>

struct TextBuffer {
    char* bytes;
    size_t length;
    size_t capacity;
    bool failed;
};

void AppendBytes(TextBuffer* buffer, const char* bytes, size_t length);
// Keeps the bytes NUL-terminated (the terminator is not counted).
bool FinishText(TextBuffer* buffer);
void FreeTextBuffer(TextBuffer* buffer);
