// Reading an HTML file as a sequence of tags and the text before each, and
// picking the links out of it for the bookmark import.
#pragma once
#include <string>
#include <vector>

#include "byte_source.h"

// Reads up to the next ">", which need not follow a "<": tag receives the
// bytes after the first "<", text the bytes before it; neither angle bracket is
// stored. Carriage returns and line feeds are dropped wherever they are. Returns true when a ">"
// ended the read, false when the input ended first (tag and text then hold what was read).
bool ReadTag(ByteSource& source, std::string& tag, std::string& text);

struct HtmlLink {
    std::string title;   // the text between the link's tag and the next tag
    std::string address; // the tag's first double-quoted value, or ""
};

// True for a tag that the import takes as a link: after leading blanks it
// starts with "A" or "a" and contains "://".
bool IsLinkTag(const std::string& tag);

// The part of a tag between its first and second double quote; "" when it has
// fewer than two.
std::string FirstQuotedValue(const std::string& tag);

// Every link of the input in order. The tag that ends a link's title is
// consumed with it and never taken for a link itself. Titles and addresses end
// at a NUL byte, as the tree items that hold them do.
std::vector<HtmlLink> ScanHtmlLinks(ByteSource& source);
