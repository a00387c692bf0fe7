#include "utf8_text.h"

void AppendUtf8(std::string& text, uint32_t codePoint) {
    if ((codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF)
        codePoint = kReplacementCharacter;
    if (codePoint < 0x80) {
        text.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        text.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        text.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        text.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        text.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        text.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        text.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

size_t Utf8SequenceLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 1;
}

uint32_t NextCodePoint(const std::string& text, size_t& position) {
    unsigned char lead = static_cast<unsigned char>(text[position]);
    size_t length = Utf8SequenceLength(lead);
    if (lead < 0x80) {
        ++position;
        return lead;
    }
    if (length == 1 || position + length > text.size()) {
        ++position;
        return kReplacementCharacter;
    }
    uint32_t codePoint = lead & (0xFF >> (length + 1));
    for (size_t i = 1; i < length; ++i) {
        unsigned char next = static_cast<unsigned char>(text[position + i]);
        if ((next & 0xC0) != 0x80) {
            ++position;
            return kReplacementCharacter;
        }
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    // Overlong forms and surrogates are as malformed as a missing byte.
    static const uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < kSmallest[length] || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        ++position;
        return kReplacementCharacter;
    }
    position += length;
    return codePoint;
}

size_t Utf8PrefixLength(const std::string& text, size_t limit) {
    if (limit >= text.size())
        return text.size();
    size_t end = limit;
    // Back over continuation bytes to the start of the character that the
    // limit cuts; at most three of them belong to one character.
    while (end > 0 && limit - end < 3 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    if ((static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        return limit; // not UTF-8 here: cut where asked
    return end;
}
