// Telling EUC-JP from Shift-JIS in Japanese text that declares neither.
#pragma once
#include <cstddef>

// Whether the bytes are better read as EUC-JP than as Shift-JIS: they read
// whole as EUC-JP, and either not as Shift-JIS, or their EUC-JP reading holds
// more of the characters Japanese text is mostly made of (kana and the kanji
// of the first level) than their Shift-JIS reading holds full-width
// characters. Read as Shift-JIS, EUC-JP text turns into runs of half-width
// katakana, which real Japanese text does not have; Shift-JIS text with
// almost any full-width character does not read as EUC-JP at all. When
// more text follows the bytes, a character cut off by their end counts
// against neither reading.
bool LooksLikeEucJp(const unsigned char* bytes, size_t size, bool moreFollows);
