// UTF-8 helpers of the HTML import, which reads every file as UTF-8 text.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// U+FFFD, what stands for a character that could not be read.
constexpr uint32_t kReplacementCharacter = 0xFFFD;

// Appends the UTF-8 form of a code point; surrogates and values past U+10FFFF
// append U+FFFD.
void AppendUtf8(std::string& text, uint32_t codePoint);

// The code point that starts at position, which moves past it. A malformed or
// cut sequence gives U+FFFD and moves one byte.
uint32_t NextCodePoint(const std::string& text, size_t& position);

// How many bytes a sequence starting with lead claims: 2 to 4, or 1 for ASCII
// and for bytes that start no sequence.
size_t Utf8SequenceLength(unsigned char lead);

// The longest prefix of text of at most limit bytes that ends between two
// characters.
size_t Utf8PrefixLength(const std::string& text, size_t limit);
