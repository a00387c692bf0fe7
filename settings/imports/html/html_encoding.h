// Which encoding an HTML file is written in, found from its first bytes as a
// browser finds it, and where its characters begin.
#pragma once
#include <cstddef>
#include <string>

#include "japanese_guess.h"

// How an encoding's bytes make up its characters.
enum class HtmlEncoding {
    kShiftJis, // also what a file that names no encoding is taken to be
    kUtf8,
    kUtf16Le, // only with a byte order mark
    kUtf16Be, // only with a byte order mark
    kEucJp,
    kSingleByte, // one byte each: windows-125x, ISO-8859-x, KOI8, the Mac pages
    kDoubleByte, // a lead byte 81-FE takes one more: GBK, Big5, EUC-KR
    kGb18030,    // as kDoubleByte, and four bytes where the second is a digit
};

// The Windows code pages of the encodings this file names itself.
constexpr unsigned kShiftJisCodePage = 932;
constexpr unsigned kEucJpCodePage = 20932;
constexpr unsigned kUtf8CodePage = 65001;
constexpr unsigned kUtf16LeCodePage = 1200;
constexpr unsigned kUtf16BeCodePage = 1201;

// An encoding and the Windows code page that converts it.
struct Charset {
    HtmlEncoding encoding = HtmlEncoding::kShiftJis;
    unsigned codePage = kShiftJisCodePage;
};

struct DetectedEncoding {
    HtmlEncoding encoding = HtmlEncoding::kShiftJis;
    unsigned codePage = kShiftJisCodePage;
    size_t byteOrderMarkLength = 0; // bytes at the start that are no text
    bool fromBytes = false;         // no byte order mark and no declaration: guessed
};

// How much of the file's start the detection looks at.
constexpr size_t kEncodingPrescanBytes = 64 * 1024;

// The encoding of a file that starts with these bytes (its first
// kEncodingPrescanBytes, or all of a shorter file): a byte order mark; else
// the charset of a META element before the BODY (<meta charset=...> or
// <meta http-equiv="Content-Type" content="...; charset=...">), outside
// comments and scripts, whose name CharsetFromLabel knows; else what
// DetectUndeclaredEncoding finds.
DetectedEncoding DetectHtmlEncoding(const void* data, size_t size);

// The encoding of text that declares none, as JapaneseEvidence decides it.
// The bytes are the first kEncodingPrescanBytes of the text, or all of a
// shorter text; a file's reader looks at the rest with UndeclaredCharset.
Charset DetectUndeclaredEncoding(const unsigned char* bytes, size_t size);
// The same for evidence gathered over any part of a text (moreFollows: only
// its start).
Charset UndeclaredCharset(const JapaneseEvidence& evidence, bool moreFollows);

// The length of the longest start of the bytes that ends between two
// characters of the encoding; the rest waits for the bytes that follow it.
size_t CompleteCharactersLength(HtmlEncoding encoding, const unsigned char* bytes, size_t size);

struct CharacterSpan {
    size_t length;    // in bytes; may pass the bytes available when cut off
    bool convertible; // false for bytes that form no character of the encoding
};

// The character that starts at bytes. In the encodings of several bytes (not
// the UTFs) a lead byte whose next byte cannot follow it stands alone as a byte that is no
// character, so that a broken character never takes the "<" or the quote
// after it; so do EUC-JP's three-byte characters, which the system's table
// lacks.
CharacterSpan CharacterAt(HtmlEncoding encoding, const unsigned char* bytes, size_t available);
