// Character references of HTML ("&amp;", "&#38;", "&#x26;") in UTF-8 text.
#pragma once
#include <string>

enum class ReferenceContext {
    kText,      // element content
    kAttribute, // an attribute value: "&copy=1" in an address stays as written
};

// The text with every reference replaced by the character it names, as a
// browser reads it: the named references of HTML (the old ones also without
// ";"), decimal and hexadecimal ones (with or without ";"). Numbers that name
// no character give U+FFFD, 0x80 to 0x9F the characters of windows-1252.
// Anything that is no reference is kept as written.
std::string DecodeCharacterReferences(const std::string& text, ReferenceContext context);
