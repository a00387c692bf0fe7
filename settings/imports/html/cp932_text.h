// Byte-string helpers that respect Shift-JIS (code page 932) characters: a lead
// byte and the byte after it form one character, and that second byte is never
// matched or case-changed on its own.
#pragma once
#include <cstddef>
#include <string>

// True for the bytes that start a double-byte character.
bool IsCp932LeadByte(unsigned char byte);

// Position of the first occurrence of needle in text that starts at a character
// boundary, searching from the character boundary from; npos when absent.
size_t FindCp932(const std::string& text, const std::string& needle, size_t from = 0);

// A copy of text with the single-byte letters a to z upper-cased; double-byte
// characters are copied unchanged, so positions match the original.
std::string UpperCp932(const std::string& text);

// The text up to its first NUL byte: what a NUL-terminated copy of it holds.
std::string UpToNul(const std::string& text);
