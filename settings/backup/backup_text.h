// Text between the menu's Shift-JIS (code page 932) and the backup file's
// UTF-8, character for character. Every character that has no form on the
// other side becomes one '?', and is counted.
#pragma once
#include <string>

// A Shift-JIS string to UTF-8. A byte that starts no Shift-JIS character (a
// lead byte without its second byte, an unassigned code) becomes '?'.
std::string Cp932ToUtf8(const std::string& text, int& unconvertible);

// Well-formed UTF-8 to Shift-JIS. A character that Shift-JIS lacks becomes
// '?' (no nearest look-alike is taken), and so does U+0000, which a menu
// string cannot hold.
std::string Utf8ToCp932(const std::string& text, int& replaced);

// The text with every line end as CR LF, the only one the compose window's
// edit control breaks a line at: a lone LF (files written on Linux or macOS,
// or by hand with \n) and a lone CR (classic Mac OS) each become CR LF.
std::string WithCrLfLineEnds(const std::string& text);
