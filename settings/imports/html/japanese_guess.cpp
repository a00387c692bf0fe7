#include "japanese_guess.h"

namespace {
bool InRange(unsigned char byte, unsigned char low, unsigned char high) {
    return byte >= low && byte <= high;
}

struct Reading {
    bool whole = true; // every character is one of the encoding's
    size_t common = 0; // characters that Japanese text is mostly made of
};

// EUC-JP: A1-FE A1-FE (JIS X 0208), 8E A1-DF (half-width katakana),
// 8F A1-FE A1-FE (JIS X 0212). Common: hiragana and katakana (A4, A5) and
// the kanji of the first level (B0-CF).
Reading ReadAsEucJp(const unsigned char* bytes, size_t size, bool moreFollows) {
    Reading reading;
    for (size_t i = 0; i < size && reading.whole;) {
        unsigned char lead = bytes[i];
        size_t length = lead < 0x80 ? 1 : lead == 0x8F ? 3 : 2;
        if (i + length > size) {
            reading.whole = moreFollows; // cut off
            break;
        }
        if (lead == 0x8E)
            reading.whole = InRange(bytes[i + 1], 0xA1, 0xDF);
        else if (lead == 0x8F)
            reading.whole = InRange(bytes[i + 1], 0xA1, 0xFE) && InRange(bytes[i + 2], 0xA1, 0xFE);
        else if (lead >= 0x80)
            reading.whole = InRange(lead, 0xA1, 0xFE) && InRange(bytes[i + 1], 0xA1, 0xFE);
        if (reading.whole && (lead == 0xA4 || lead == 0xA5 || InRange(lead, 0xB0, 0xCF)))
            ++reading.common;
        i += length;
    }
    return reading;
}

// Shift-JIS (code page 932): 81-9F or E0-FC and a second byte 40-7E or
// 80-FC; A1-DF alone (half-width katakana). 80, A0 and FD-FF are no text.
// Common: the characters of JIS X 0208 (leads 81-84, 88-9F, E0-EA), not the
// half-width katakana that EUC-JP turns into.
Reading ReadAsShiftJis(const unsigned char* bytes, size_t size, bool moreFollows) {
    Reading reading;
    for (size_t i = 0; i < size && reading.whole;) {
        unsigned char lead = bytes[i];
        if (lead < 0x80 || InRange(lead, 0xA1, 0xDF)) {
            ++i;
            continue;
        }
        if (!InRange(lead, 0x81, 0x9F) && !InRange(lead, 0xE0, 0xFC)) {
            reading.whole = false;
            break;
        }
        if (i + 2 > size) {
            reading.whole = moreFollows; // cut off
            break;
        }
        unsigned char second = bytes[i + 1];
        reading.whole = InRange(second, 0x40, 0x7E) || InRange(second, 0x80, 0xFC);
        if (InRange(lead, 0x81, 0x84) || InRange(lead, 0x88, 0x9F) || InRange(lead, 0xE0, 0xEA))
            ++reading.common;
        i += 2;
    }
    return reading;
}
} // namespace

bool LooksLikeEucJp(const unsigned char* bytes, size_t size, bool moreFollows) {
    Reading euc = ReadAsEucJp(bytes, size, moreFollows);
    if (!euc.whole)
        return false;
    Reading sjis = ReadAsShiftJis(bytes, size, moreFollows);
    return !sjis.whole || euc.common > sjis.common;
}
