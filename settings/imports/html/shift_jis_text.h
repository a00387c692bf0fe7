// The imported texts in the system's code page (Shift-JIS), from the UTF-8
// in which the HTML import reads them.
#pragma once
#include <string>

// A title: each character without a Shift-JIS form becomes "?". Characters
// that Japanese text in Unicode often carries in another form than Shift-JIS
// maps them from (the wave dash, the double vertical line, the minus sign, the
// em dash, the cent, pound and not signs) take the form Shift-JIS has.
std::string TitleToShiftJis(const std::string& utf8);

// An address: each character without a Shift-JIS form is percent-encoded as
// its UTF-8 bytes, as addresses write such characters.
std::string AddressToShiftJis(const std::string& utf8);
