// The variables a menu text may hold, {{name}}, {{name+3d}} or
// {{name:argument}}, read from the text's Shift-JIS characters: a brace or a
// bar that is the second byte of a character (ボ, マ, ソ, 表...) never opens,
// closes or splits anything. Reading is linear in the text's length and keeps
// no memory of its own.
#pragma once
#include <stddef.h>

enum TextPieceKind {
    kPieceLiteral,   // bytes inserted as they are
    kPieceBraces,    // "{{{{", which inserts "{{"
    kPieceDate,      // {{date}}, with an offset and a picture
    kPieceWareki,    // {{wareki}}: the date in the Japanese calendar
    kPieceTime,      // {{time}}
    kPieceClipboard, // {{clipboard}}
    kPieceSelection, // {{selection}}
    kPieceCursor,    // {{cursor}}
    kPieceInput,     // {{input:QUESTION|DEFAULT}}
    kPieceChoice,    // {{choice:QUESTION|A|B...}}
};

struct TextPiece {
    TextPieceKind kind;
    size_t start; // the piece's bytes in the text, as typed
    size_t length;
    const char* argument; // after the colon, up to the closing braces
    size_t argumentLength;
    bool hasArgument;
    long shift;     // the date's offset, signed (date and wareki only)
    char shiftUnit; // 'd', 'w', 'm' or 'y'; 0 without an offset
};

// Where the reader is in one text. Start each text with a zeroed one.
struct TextReader {
    const char* text;
    size_t length;
    size_t position;
    // The first "}}" at or after closerFrom is at closerAt (or there is none
    // when closerAt == length): many "{{" share one search for their closer.
    size_t closerFrom;
    size_t closerAt;
    bool closerKnown;
};

void StartTextReader(TextReader* reader, const char* text, size_t length);

// The next piece of the text; false at its end. Literal runs come whole, up to
// the next "{{" that opens a variable.
bool NextTextPiece(TextReader* reader, TextPiece* piece);

// Splits an argument at its bars: the part starting at *position, whose end
// becomes the next *position (past the bar). False when no part is left.
bool NextArgumentPart(const char* argument, size_t length, size_t* position, const char** part,
                      size_t* partLength);

// Bytes of the Shift-JIS character starting at text[position].
size_t CharacterLength(const char* text, size_t length, size_t position);
