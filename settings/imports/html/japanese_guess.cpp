#include "japanese_guess.h"

namespace {
bool InRange(unsigned char byte, unsigned char low, unsigned char high) {
    return byte >= low && byte <= high;
}

bool IsAsciiAlnum(unsigned char byte) {
    return InRange(byte, '0', '9') || InRange(byte, 'A', 'Z') || InRange(byte, 'a', 'z');
}
} // namespace

void JapaneseEvidence::Add(const unsigned char* bytes, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        unsigned char byte = bytes[i];
        if (byte >= 0x80 && !InRange(byte, 0xA1, 0xDF))
            halfWidthOnly_ = false;
        AddUtf8(byte);
        if (sjis_.valid)
            AddShiftJis(byte);
        if (euc_.valid)
            AddEucJp(byte);
    }
}

// UTF-8 as the standard has it: no overlong forms, no surrogates, nothing
// past U+10FFFF.
void JapaneseEvidence::AddUtf8(unsigned char byte) {
    Utf8Reading& r = utf8_;
    if (r.pending > 0 && !InRange(byte, r.low, r.high)) {
        // A broken sequence; the byte may begin the next character.
        ++r.broken;
        r.pending = 0;
        r.low = 0x80;
        r.high = 0xBF;
    }
    if (r.pending > 0) {
        r.low = 0x80;
        r.high = 0xBF;
        if (--r.pending > 0)
            return;
        ++r.characters;
        // A two-byte character: Latin, Greek, Cyrillic... A sign of C2
        // (©, ®, °, «) stands anywhere; a letter is part of a word.
        if (r.lead == 0xC2 || r.afterAsciiAlnum)
            r.latinSign = true;
        r.checkNext = r.lead < 0xE0;
        r.afterAsciiAlnum = false;
        return;
    }
    if (r.checkNext && IsAsciiAlnum(byte))
        r.latinSign = true;
    r.checkNext = false;
    if (byte < 0x80) {
        r.afterAsciiAlnum = IsAsciiAlnum(byte);
        return;
    }
    r.lead = byte;
    if (InRange(byte, 0xC2, 0xDF)) {
        r.pending = 1;
    } else if (InRange(byte, 0xE0, 0xEF)) {
        r.pending = 2;
        r.low = byte == 0xE0 ? 0xA0 : 0x80;
        r.high = byte == 0xED ? 0x9F : 0xBF;
    } else if (InRange(byte, 0xF0, 0xF4)) {
        r.pending = 3;
        r.low = byte == 0xF0 ? 0x90 : 0x80;
        r.high = byte == 0xF4 ? 0x8F : 0xBF;
    } else {
        ++r.broken;
    }
}

// Shift-JIS (code page 932): 81-9F or E0-FC and a second byte 40-7E or
// 80-FC; A1-DF alone (half-width katakana). 80, A0 and FD-FF are no text.
// Common: the characters of JIS X 0208 (leads 81-84, 88-9F, E0-EA).
void JapaneseEvidence::AddShiftJis(unsigned char byte) {
    ShiftJisReading& r = sjis_;
    if (r.lead) {
        r.valid = InRange(byte, 0x40, 0x7E) || InRange(byte, 0x80, 0xFC);
        ++r.doubleByte;
        if (InRange(r.lead, 0x81, 0x84) || InRange(r.lead, 0x88, 0x9F) ||
            InRange(r.lead, 0xE0, 0xEA))
            ++r.fullWidth;
        r.lead = 0;
        return;
    }
    if (byte < 0x80 || InRange(byte, 0xA1, 0xDF))
        return;
    if (InRange(byte, 0x81, 0x9F) || InRange(byte, 0xE0, 0xFC))
        r.lead = byte;
    else
        r.valid = false;
}

// EUC-JP: A1-FE A1-FE (JIS X 0208), 8E A1-DF (half-width katakana),
// 8F A1-FE A1-FE (JIS X 0212). Common: hiragana and katakana (A4, A5) and
// the kanji of the first level (B0-CF).
void JapaneseEvidence::AddEucJp(unsigned char byte) {
    EucJpReading& r = euc_;
    if (r.pending > 0) {
        bool halfWidthKana = r.lead == 0x8E;
        r.valid = halfWidthKana ? InRange(byte, 0xA1, 0xDF) : InRange(byte, 0xA1, 0xFE);
        if (--r.pending > 0 || !r.valid || r.lead == 0x8E || r.lead == 0x8F)
            return;
        if (r.lead == 0xA4 || r.lead == 0xA5 || InRange(r.lead, 0xB0, 0xCF))
            ++r.common;
        if (InRange(r.lead, 0xA1, 0xA5))
            ++r.kanaOrSigns;
        return;
    }
    if (byte < 0x80)
        return;
    r.lead = byte;
    if (byte == 0x8F)
        r.pending = 2;
    else if (byte == 0x8E || InRange(byte, 0xA1, 0xFE))
        r.pending = 1;
    else
        r.valid = false;
}

JapaneseGuess JapaneseEvidence::Decide(bool moreFollows) const {
    // A UTF-8 character cut by the end counts against UTF-8 only when nothing
    // beyond ASCII came before it.
    bool utf8 = utf8_.characters > 0 && utf8_.broken * 64 <= utf8_.characters;
    if (utf8 && (!halfWidthOnly_ || utf8_.latinSign))
        return JapaneseGuess::kUtf8;
    // Read as UTF-8, the bytes are a lone accented letter or two, away from
    // any word: as plausibly half-width katakana (ﾃｽ is "ý"). The Japanese
    // readings decide.
    bool euc = euc_.valid && (euc_.pending == 0 || moreFollows);
    bool sjis = sjis_.valid && (!sjis_.lead || moreFollows);
    if (!euc)
        return JapaneseGuess::kShiftJis;
    if (!sjis)
        return JapaneseGuess::kEucJp;
    // Read as Shift-JIS, EUC-JP text turns into runs of half-width katakana.
    // Where that is all there is, EUC-JP's kana, symbols and full-width
    // letters become pairs starting with ｡｢｣､･, which real half-width text
    // rarely has at every other byte; its kanji alone are no such sign.
    if (sjis_.doubleByte == 0)
        return euc_.kanaOrSigns > 0 ? JapaneseGuess::kEucJp : JapaneseGuess::kShiftJis;
    return euc_.common > sjis_.fullWidth ? JapaneseGuess::kEucJp : JapaneseGuess::kShiftJis;
}
