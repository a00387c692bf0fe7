// The rules of one line of an address book, as plain functions over bytes (no
// Windows headers, so that a native build can fuzz them). The book reader
// hands each line over as pointer and length; the spans it gets back point
// into that line.
#pragma once
#include <stddef.h>

struct BookSpan {
    const char* begin;
    size_t length;
};

enum BookLineKind {
    BookLineSkip,      // comment, blank line, or a line with no meaning
    BookLineGroup,     // opens a group; label is its title (may be empty)
    BookLineSeparator, // a separator; the rest of the line is ignored
    BookLineEndGroup,  // closes the innermost group, or ends a file at its top
    BookLineEntry      // label and text of an entry
};

struct BookLine {
    BookLineKind kind;
    BookSpan label; // group title or entry label
    BookSpan text;  // entry text (may be empty)
};

// The length a line keeps once cut at its first carriage return that follows
// some other byte. Carriage returns at the very start stay, so a blank line of
// a CR LF file keeps its lone carriage return.
size_t BookLineCutLength(const char* line, size_t length);

// Classifies a line read from a book. Leading spaces and tabs are passed over
// first. Keyword prefixes are compared in any ASCII case: "GROUP" (five bytes),
// "Separator" and "End group" (nine bytes), in that order, after comments and
// empty lines. Anything else is an entry "label:text"; one without a colon
// followed by at least one more byte has no meaning and is skipped (this
// includes the lone carriage return of a blank line in a CR LF file).
BookLine ParseBookLine(const char* line, size_t length);
