// Telling UTF-8, EUC-JP and Shift-JIS apart in text that declares none, from
// the evidence of all its bytes, gathered block by block as the file is read.
#pragma once
#include <cstddef>

enum class JapaneseGuess { kShiftJis, kEucJp, kUtf8 };

class JapaneseEvidence {
  public:
    // The next bytes of the text; a character may be cut between two calls.
    void Add(const unsigned char* bytes, size_t size);

    // What the bytes added so far are best read as; moreFollows when they are
    // only the text's start, so that a character cut off by their end counts
    // against no reading. UTF-8 when they are UTF-8 with characters beyond
    // ASCII and at most one broken sequence to 64 characters (a title that an
    // exporter cut inside a character leaves the rest of a file UTF-8),
    // unless every byte beyond ASCII is also Shift-JIS half-width katakana
    // (A1-DF) and nothing in the UTF-8 reading looks like Latin text (a letter
    // inside a word, or a sign such as the copyright sign). Else EUC-JP when
    // they read whole as EUC-JP and either not as Shift-JIS, or, with
    // full-width Shift-JIS characters, their EUC-JP reading holds more kana
    // and first-level kanji than the Shift-JIS reading holds full-width
    // characters, or, read as Shift-JIS they are half-width katakana alone,
    // their EUC-JP reading holds kana, symbols or full-width letters (which
    // read as Shift-JIS become the half-width signs ｡｢｣､･). Else Shift-JIS.
    JapaneseGuess Decide(bool moreFollows) const;

  private:
    struct Utf8Reading {
        size_t characters = 0;                 // beyond ASCII
        size_t broken = 0;                     // sequences that form no character
        int pending = 0;                       // trail bytes still to come
        unsigned char low = 0x80, high = 0xBF; // the range of the next trail byte
        unsigned char lead = 0;
        bool latinSign = false;       // a letter inside a word, or a sign of C2
        bool afterAsciiAlnum = false; // the byte before the character
        bool checkNext = false;       // a letter whose next byte may join a word
    };
    struct ShiftJisReading {
        bool valid = true;
        unsigned char lead = 0; // a lead byte waiting for its second byte
        size_t fullWidth = 0;   // common characters of JIS X 0208
        size_t doubleByte = 0;
    };
    struct EucJpReading {
        bool valid = true;
        int pending = 0;
        unsigned char lead = 0;
        size_t common = 0;      // kana and first-level kanji
        size_t kanaOrSigns = 0; // rows A1-A5: symbols, full-width letters, kana
    };

    void AddUtf8(unsigned char byte);
    void AddShiftJis(unsigned char byte);
    void AddEucJp(unsigned char byte);

    Utf8Reading utf8_;
    ShiftJisReading sjis_;
    EucJpReading euc_;
    bool halfWidthOnly_ = true; // every byte beyond ASCII is A1-DF
};
