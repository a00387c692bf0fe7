// Byte rules of address-book lines. The only bytes with meaning are space,
// tab, carriage return, "#", ":" and the ASCII letters of the keywords, none
// of which can be the second byte of a Shift-JIS character at the places they
// are looked for, so the bytes are walked one by one.
#include "book_lines.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

size_t SkipBlanks(const char* line, size_t length, size_t at) {
    while (at < length && IsBlank(line[at]))
        ++at;
    return at;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when line starts with keyword (lower case) in any ASCII case.
bool StartsWithKeyword(const char* line, size_t length, const char* keyword) {
    size_t i = 0;
    for (; keyword[i]; ++i) {
        if (i >= length || AsciiLower(line[i]) != keyword[i])
            return false;
    }
    return true;
}

BookSpan Span(const char* begin, size_t length) {
    BookSpan span = {begin, length};
    return span;
}

// "label:text": colons at the start are passed over, the label runs to the
// next colon, the text follows it with its leading blanks removed.
BookLine SplitEntry(const char* line, size_t length) {
    BookLine result = {BookLineSkip, Span(line, 0), Span(line, 0)};
    size_t labelStart = 0;
    while (labelStart < length && line[labelStart] == ':')
        ++labelStart;
    size_t colon = labelStart;
    while (colon < length && line[colon] != ':')
        ++colon;
    if (colon + 1 >= length)
        return result; // no colon, or nothing after it
    size_t textStart = SkipBlanks(line, length, colon + 1);
    result.kind = BookLineEntry;
    result.label = Span(line + labelStart, colon - labelStart);
    result.text = Span(line + textStart, length - textStart);
    return result;
}

} // namespace

size_t BookLineCutLength(const char* line, size_t length) {
    size_t at = 0;
    while (at < length && line[at] == '\r')
        ++at;
    while (at < length && line[at] != '\r')
        ++at;
    return at;
}

BookLine ParseBookLine(const char* line, size_t length) {
    size_t start = SkipBlanks(line, length, 0);
    line += start;
    length -= start;
    BookLine result = {BookLineSkip, Span(line, 0), Span(line, 0)};
    if (length == 0 || line[0] == '#')
        return result;
    if (StartsWithKeyword(line, length, "group")) {
        size_t labelStart = SkipBlanks(line, length, 5);
        result.kind = BookLineGroup;
        result.label = Span(line + labelStart, length - labelStart);
        return result;
    }
    if (StartsWithKeyword(line, length, "separator")) {
        result.kind = BookLineSeparator;
        return result;
    }
    if (StartsWithKeyword(line, length, "end group")) {
        result.kind = BookLineEndGroup;
        return result;
    }
    return SplitEntry(line, length);
}
