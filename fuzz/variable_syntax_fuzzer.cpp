// Feeds arbitrary bytes to the reader of menu-text variables and checks that
// the pieces tile the text in order, that every variable is whole "{{...}}"
// with its argument inside it, that no piece starts inside a Shift-JIS
// character, and that argument parts stay inside their argument. Offsets on
// dates are checked to stay in the years the system accepts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "plugin/variables/calendar_date.h"
#include "plugin/variables/variable_syntax.h"

namespace {
void Require(bool condition) {
    if (!condition)
        std::abort();
}

// Character boundaries as a reader from the start sees them.
std::vector<bool> Boundaries(const char* text, size_t length) {
    std::vector<bool> boundary(length + 1, false);
    size_t at = 0;
    while (at < length) {
        boundary[at] = true;
        at += CharacterLength(text, length, at);
    }
    boundary[length] = true;
    return boundary;
}

void CheckArgument(const TextPiece& piece, const char* text, size_t length) {
    Require(piece.argument > text + piece.start + 2);
    Require(piece.argument + piece.argumentLength + 2 == text + piece.start + piece.length);
    size_t position = 0;
    const char* part = nullptr;
    size_t partLength = 0;
    size_t parts = 0;
    while (NextArgumentPart(piece.argument, piece.argumentLength, &position, &part, &partLength)) {
        Require(part >= piece.argument &&
                part + partLength <= piece.argument + piece.argumentLength);
        Require(++parts <= piece.argumentLength + 1);
    }
    (void)length;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly the input's size, so that any read past it is caught.
    std::vector<char> copy(data, data + size);
    const char* text = copy.data();
    std::vector<bool> boundary = Boundaries(text, size);
    TextReader reader;
    StartTextReader(&reader, text, size);
    TextPiece piece;
    size_t expected = 0;
    size_t pieces = 0;
    while (NextTextPiece(&reader, &piece)) {
        Require(piece.start == expected && piece.length > 0 && piece.start + piece.length <= size);
        Require(boundary[piece.start]);
        Require(++pieces <= size);
        if (piece.kind != kPieceLiteral) {
            Require(piece.length >= 4 && std::memcmp(text + piece.start, "{{", 2) == 0);
            if (piece.kind != kPieceBraces)
                Require(std::memcmp(text + piece.start + piece.length - 2, "}}", 2) == 0);
        }
        if (piece.hasArgument)
            CheckArgument(piece, text, size);
        if (piece.shiftUnit) {
            CalendarDate date = {2026, 12, 8};
            if (ShiftCalendarDate(&date, piece.shift, piece.shiftUnit))
                Require(date.year >= 1601 && date.year <= 9999 && date.month >= 1 &&
                        date.month <= 12 && date.day >= 1 && date.day <= 31);
        }
        expected = piece.start + piece.length;
    }
    Require(expected == size);
    return 0;
}
