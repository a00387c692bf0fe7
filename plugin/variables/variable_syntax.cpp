#include "variable_syntax.h"

#include <string.h>

namespace {

const size_t kLongestName = 16;
const long kLargestShift = 99999;

bool IsLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool OpensAt(const char* text, size_t length, size_t position) {
    return position + 1 < length && text[position] == '{' && text[position + 1] == '{';
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsLetter(char c) {
    c = Lower(c);
    return c >= 'a' && c <= 'z';
}

struct NameKind {
    const char* name;
    TextPieceKind kind;
    bool shifts;  // takes +3d and the like
    int argument; // 0 none, 1 optional, 2 required
};

const NameKind kNames[] = {
    {"date", kPieceDate, true, 1},
    {"wareki", kPieceWareki, true, 1},
    {"time", kPieceTime, false, 1},
    {"clipboard", kPieceClipboard, false, 0},
    {"selection", kPieceSelection, false, 0},
    {"cursor", kPieceCursor, false, 0},
    {"input", kPieceInput, false, 2},
    {"choice", kPieceChoice, false, 2},
};

const NameKind* FindName(const char* name, size_t length) {
    for (const NameKind& known : kNames) {
        if (strlen(known.name) != length)
            continue;
        size_t i = 0;
        while (i < length && Lower(name[i]) == known.name[i])
            ++i;
        if (i == length)
            return &known;
    }
    return nullptr;
}

// The first "}}" on a character boundary at or after from (a boundary itself),
// or the text's length. Searches that start inside a span already searched
// reuse its answer, so the whole text is searched at most once.
size_t FindCloser(TextReader* reader, size_t from) {
    if (reader->closerKnown && from >= reader->closerFrom && from <= reader->closerAt)
        return reader->closerAt;
    size_t at = from;
    while (at < reader->length) {
        if (at + 1 < reader->length && reader->text[at] == '}' && reader->text[at + 1] == '}')
            break;
        at += CharacterLength(reader->text, reader->length, at);
    }
    if (at > reader->length)
        at = reader->length;
    reader->closerKnown = true;
    reader->closerFrom = from;
    reader->closerAt = at;
    return at;
}

// Reads a variable whose "{{" is at start; false when it is none.
bool ReadVariable(TextReader* reader, size_t start, TextPiece* piece) {
    const char* text = reader->text;
    size_t length = reader->length;
    size_t at = start + 2;
    size_t nameStart = at;
    while (at < length && IsLetter(text[at]) && at - nameStart <= kLongestName)
        ++at;
    const NameKind* known = FindName(text + nameStart, at - nameStart);
    if (!known)
        return false;
    *piece = {};
    piece->kind = known->kind;
    if (at < length && (text[at] == '+' || text[at] == '-')) {
        if (!known->shifts)
            return false;
        bool negative = text[at] == '-';
        ++at;
        long amount = 0;
        size_t digits = 0;
        while (at < length && text[at] >= '0' && text[at] <= '9') {
            amount = amount * 10 + (text[at] - '0');
            ++at;
            if (++digits > 5 || amount > kLargestShift)
                return false;
        }
        if (digits == 0 || at >= length)
            return false;
        char unit = Lower(text[at]);
        if (unit != 'd' && unit != 'w' && unit != 'm' && unit != 'y')
            return false;
        ++at;
        piece->shift = negative ? -amount : amount;
        piece->shiftUnit = unit;
    }
    if (at < length && text[at] == ':') {
        if (known->argument == 0)
            return false;
        size_t argumentStart = at + 1;
        size_t closer = FindCloser(reader, argumentStart);
        if (closer >= length || closer == argumentStart)
            return false;
        piece->hasArgument = true;
        piece->argument = text + argumentStart;
        piece->argumentLength = closer - argumentStart;
        at = closer;
    } else if (known->argument == 2) {
        return false;
    }
    if (!(at + 1 < length && text[at] == '}' && text[at + 1] == '}'))
        return false;
    piece->start = start;
    piece->length = at + 2 - start;
    return true;
}

} // namespace

size_t CharacterLength(const char* text, size_t length, size_t position) {
    return IsLeadByte(static_cast<unsigned char>(text[position])) && position + 1 < length ? 2 : 1;
}

void StartTextReader(TextReader* reader, const char* text, size_t length) {
    *reader = {};
    reader->text = text;
    reader->length = length;
}

bool NextTextPiece(TextReader* reader, TextPiece* piece) {
    const char* text = reader->text;
    size_t length = reader->length;
    size_t start = reader->position;
    if (start >= length)
        return false;
    size_t at = start;
    if (OpensAt(text, length, at)) {
        if (OpensAt(text, length, at + 2)) {
            *piece = {};
            piece->kind = kPieceBraces;
            piece->start = start;
            piece->length = 4;
            reader->position = start + 4;
            return true;
        }
        if (ReadVariable(reader, start, piece)) {
            reader->position = start + piece->length;
            return true;
        }
        at += 2; // stays as typed
    }
    while (at < length && !OpensAt(text, length, at))
        at += CharacterLength(text, length, at);
    if (at > length)
        at = length;
    *piece = {};
    piece->kind = kPieceLiteral;
    piece->start = start;
    piece->length = at - start;
    reader->position = at;
    return true;
}

bool NextArgumentPart(const char* argument, size_t length, size_t* position, const char** part,
                      size_t* partLength) {
    size_t start = *position;
    if (start > length)
        return false;
    size_t at = start;
    while (at < length && argument[at] != '|')
        at += CharacterLength(argument, length, at);
    if (at > length)
        at = length;
    *part = argument + start;
    *partLength = at - start;
    *position = at + 1;
    return true;
}
