// Which encoding an HTML file is written in, found from its first bytes as a
// browser finds it, and where its characters begin.
#pragma once
#include <cstddef>
#include <string>

enum class HtmlEncoding {
    kShiftJis, // also what a file that names no encoding is taken to be
    kUtf8,
    kUtf16Le, // only with a byte order mark
    kUtf16Be, // only with a byte order mark
    kEucJp,
    kWindows1252, // also ISO-8859-1 and US-ASCII, as browsers read them
};

struct DetectedEncoding {
    HtmlEncoding encoding = HtmlEncoding::kShiftJis;
    size_t byteOrderMarkLength = 0; // bytes at the start that are no text
};

// How much of the file's start the detection looks at.
constexpr size_t kEncodingPrescanBytes = 64 * 1024;

// The encoding of a file that starts with these bytes (its first
// kEncodingPrescanBytes, or all of a shorter file): a byte order mark; else
// the charset of a META element before the BODY (<meta charset=...> or
// <meta http-equiv="Content-Type" content="...; charset=...">), outside
// comments and scripts; else UTF-8 when the bytes are valid UTF-8 and hold
// characters beyond ASCII; else Shift-JIS.
DetectedEncoding DetectHtmlEncoding(const void* data, size_t size);

// The encoding an encoding label names ("UTF-8", "Shift_JIS", "x-sjis",
// "EUC-JP", "ISO-8859-1"), in any letter case and with blanks around it;
// false for a label of an encoding that is not read. A label of UTF-16 means
// UTF-8 here, since a file that starts without a byte order mark cannot be
// UTF-16.
bool EncodingFromLabel(const std::string& label, HtmlEncoding* encoding);

// The length of the longest start of the bytes that ends between two
// characters of the encoding; the rest waits for the bytes that follow it.
size_t CompleteCharactersLength(HtmlEncoding encoding, const unsigned char* bytes, size_t size);

struct CharacterSpan {
    size_t length;    // in bytes; may pass the bytes available when cut off
    bool convertible; // false for bytes that form no character of the encoding
};

// The character that starts at bytes. In Shift-JIS and EUC-JP a lead byte
// whose next byte cannot follow it stands alone as a byte that is no
// character, so that a broken character never takes the "<" or the quote
// after it; so do EUC-JP's three-byte characters, which the system's table
// lacks.
CharacterSpan CharacterAt(HtmlEncoding encoding, const unsigned char* bytes, size_t available);
