// Feeds arbitrary bytes, split into lines, to the address-book line rules and
// checks that every span they return lies inside its line and means what its
// kind says.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "plugin/address_book/book_lines.h"

namespace {
void Require(bool condition) {
    if (!condition)
        std::abort();
}

bool Contains(const char* bytes, size_t length, char byte) {
    return length != 0 && std::memchr(bytes, byte, length) != nullptr;
}

bool Inside(const BookSpan& span, const char* line, size_t length) {
    return span.begin >= line && span.length <= length &&
           static_cast<size_t>(span.begin - line) <= length - span.length;
}

void CheckLine(const char* bytes, size_t length) {
    // A copy of exactly the line's size, so that any read past it is caught.
    std::vector<char> copy(bytes, bytes + length);
    const char* line = copy.data();

    size_t cut = BookLineCutLength(line, length);
    Require(cut <= length);
    size_t firstOther = 0;
    while (firstOther < cut && line[firstOther] == '\r')
        ++firstOther;
    Require(!Contains(line + firstOther, cut - firstOther, '\r'));

    BookLine parsed = ParseBookLine(line, cut);
    Require(Inside(parsed.label, line, cut));
    Require(Inside(parsed.text, line, cut));
    switch (parsed.kind) {
    case BookLineEntry:
        Require(!Contains(parsed.label.begin, parsed.label.length, ':'));
        Require(parsed.text.length == 0 ||
                (parsed.text.begin[0] != ' ' && parsed.text.begin[0] != '\t'));
        break;
    case BookLineSkip:
    case BookLineGroup:
    case BookLineSeparator:
    case BookLineEndGroup:
        break;
    default:
        Require(false);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    CheckLine(bytes, size);
    size_t start = 0;
    while (start < size) {
        const void* newline = std::memchr(bytes + start, '\n', size - start);
        size_t end = newline ? static_cast<const char*>(newline) - bytes : size;
        CheckLine(bytes + start, end - start);
        start = end + 1;
    }
    return 0;
}
