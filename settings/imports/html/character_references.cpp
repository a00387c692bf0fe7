#include "character_references.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "utf8_text.h"

namespace {
struct NamedReference {
    const char* name; // with its ";" where HTML writes one
    uint32_t first;
    uint32_t second; // 0 when the name stands for one character
};

const NamedReference kNamedReferences[] = {
#include "named_references.inc"
};

// The longest name in the table, "CounterClockwiseContourIntegral;".
const size_t kLongestName = 32;

bool IsAsciiAlphanumeric(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

const NamedReference* FindName(const std::string& name) {
    const NamedReference* end = std::end(kNamedReferences);
    const NamedReference* found =
        std::lower_bound(std::begin(kNamedReferences), end, name,
                         [](const NamedReference& entry, const std::string& wanted) {
                             return std::strcmp(entry.name, wanted.c_str()) < 0;
                         });
    return found != end && name == found->name ? found : nullptr;
}

// What windows-1252 puts at 0x80 to 0x9F, which pages mean by those numbers.
const uint32_t kWindows1252High[32] = {
    0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

uint32_t NumericCharacter(uint32_t number, bool overflow) {
    if (overflow || number == 0 || number > 0x10FFFF || (number >= 0xD800 && number <= 0xDFFF))
        return kReplacementCharacter;
    if (number >= 0x80 && number <= 0x9F)
        return kWindows1252High[number - 0x80];
    return number;
}

// A numeric reference starting at "&#"; appends it and returns its length,
// or 0 when no digit follows.
size_t DecodeNumeric(const std::string& text, size_t start, std::string& out) {
    size_t position = start + 2;
    bool hex = position < text.size() && (text[position] == 'x' || text[position] == 'X');
    if (hex)
        ++position;
    uint32_t number = 0;
    bool overflow = false;
    size_t digits = 0;
    for (; position < text.size(); ++position, ++digits) {
        char c = text[position];
        uint32_t value;
        if (c >= '0' && c <= '9')
            value = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            value = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            value = c - 'A' + 10;
        else
            break;
        number = number * (hex ? 16 : 10) + value;
        if (number > 0x10FFFF) {
            overflow = true; // stays past the limit however many digits follow
            number = 0x110000;
        }
    }
    if (digits == 0)
        return 0;
    if (position < text.size() && text[position] == ';')
        ++position;
    AppendUtf8(out, NumericCharacter(number, overflow));
    return position - start;
}

// A named reference starting at "&"; appends it and returns its length, or 0
// when it is none (or an old name without ";" that an attribute keeps).
size_t DecodeNamed(const std::string& text, size_t start, ReferenceContext context,
                   std::string& out) {
    size_t nameStart = start + 1;
    size_t run = 0;
    while (nameStart + run < text.size() && run < kLongestName &&
           IsAsciiAlphanumeric(text[nameStart + run]))
        ++run;
    bool semicolon = nameStart + run < text.size() && text[nameStart + run] == ';';
    // The longest name in the table that the text starts with.
    for (size_t length = run + (semicolon ? 1 : 0); length >= 2; --length) {
        std::string candidate = text.substr(nameStart, length);
        const NamedReference* found = FindName(candidate);
        if (!found)
            continue;
        size_t after = nameStart + length;
        if (candidate.back() != ';' && context == ReferenceContext::kAttribute &&
            after < text.size() && (text[after] == '=' || IsAsciiAlphanumeric(text[after])))
            return 0;
        AppendUtf8(out, found->first);
        if (found->second)
            AppendUtf8(out, found->second);
        return after - start;
    }
    return 0;
}
} // namespace

std::string DecodeCharacterReferences(const std::string& text, ReferenceContext context) {
    size_t ampersand = text.find('&');
    if (ampersand == std::string::npos)
        return text;
    std::string out = text.substr(0, ampersand);
    for (size_t position = ampersand; position < text.size();) {
        if (text[position] != '&') {
            size_t next = text.find('&', position);
            if (next == std::string::npos)
                next = text.size();
            out.append(text, position, next - position);
            position = next;
            continue;
        }
        size_t length = 0;
        if (position + 1 < text.size() && text[position + 1] == '#')
            length = DecodeNumeric(text, position, out);
        else
            length = DecodeNamed(text, position, context, out);
        if (length == 0) {
            out.push_back('&');
            length = 1;
        }
        position += length;
    }
    return out;
}
