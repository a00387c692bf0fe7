// The links of an HTML file, for the bookmark import.
#pragma once
#include <string>
#include <vector>

#include "byte_source.h"

struct HtmlLink {
    std::string title;   // UTF-8: the link's text, cleaned as TitleText says
    std::string address; // UTF-8: its HREF, as LinkAddress gives it
};

// Every A and AREA element of the UTF-8 input whose HREF holds "://", in the
// order of their start tags. An A's title is its text up to its end tag (or
// the next A, or the end of the input) with the tags inside it left out; an
// AREA's title is its ALT text. Text in comments, scripts and styles is not
// read.
std::vector<HtmlLink> ScanHtmlLinks(ByteSource& utf8);
