#include "text_buffer.h"

#include <stdlib.h>
#include <string.h>

namespace {

bool Reserve(TextBuffer* buffer, size_t more) {
    if (buffer->failed)
        return false;
    if (more > (size_t)-1 / 2 - buffer->length) {
        buffer->failed = true;
        return false;
    }
    size_t needed = buffer->length + more + 1;
    if (needed <= buffer->capacity)
        return true;
    size_t capacity = buffer->capacity < 64 ? 64 : buffer->capacity;
    while (capacity < needed)
        capacity *= 2;
    char* grown = static_cast<char*>(realloc(buffer->bytes, capacity));
    if (!grown) {
        buffer->failed = true;
        return false;
    }
    buffer->bytes = grown;
    buffer->capacity = capacity;
    return true;
}

} // namespace

void AppendBytes(TextBuffer* buffer, const char* bytes, size_t length) {
    if (!Reserve(buffer, length))
        return;
    if (length)
        memcpy(buffer->bytes + buffer->length, bytes, length);
    buffer->length += length;
}

bool FinishText(TextBuffer* buffer) {
    if (!Reserve(buffer, 0))
        return false;
    buffer->bytes[buffer->length] = '\0';
    return true;
}

void FreeTextBuffer(TextBuffer* buffer) {
    free(buffer->bytes);
    *buffer = {};
}
