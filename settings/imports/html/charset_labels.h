// The charset names that HTML files declare, and the Windows code page that
// reads each: the encoding labels browsers know, with their aliases.
#pragma once
#include <string>

#include "html_encoding.h"

// The encoding a label names, in any letter case and with blanks around it;
// false for a name that no Windows code page reads (ISO-8859-10, -14, -16,
// the stateful ISO-2022 forms) and for names nobody knows. A label of UTF-16
// means UTF-8 here, since a file that starts without a byte order mark
// cannot be UTF-16.
bool CharsetFromLabel(const std::string& label, Charset* charset);
