// The values of the date and time variables, made by the system's date and
// time functions in the user's locale, as Shift-JIS bytes.
#pragma once
#include <windows.h>

#include "text_buffer.h"
#include "variable_syntax.h"

// Appends the value of a date, wareki or time piece for the moment now. False
// (and nothing appended) when the piece has no value: an offset beyond the
// years the system knows, a date before the eras, a picture the system
// refuses. The piece then stays as typed.
bool AppendDateOrTime(TextBuffer* buffer, const TextPiece& piece, const SYSTEMTIME& now);

// Appends UTF-16 text converted to Shift-JIS; characters that code page lacks
// become what the system's conversion makes of them.
void AppendWideText(TextBuffer* buffer, const WCHAR* text, int length);

// The code page of every text the plug-in handles.
const UINT kTextCodePage = 932;
