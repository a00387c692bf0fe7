// A real-looking Japanese bookmark export, as current browsers write it:
// UTF-8 with a META charset, folders, "&amp;" in query strings, icons as data
// addresses, and titles of Japanese words, marks and the odd emoji. The demo
// imports one in the settings sheet; the benchmark imports larger ones.
#pragma once
#include <cstddef>
#include <string>

// The export's bytes, about size bytes long (a little more, never less).
std::string JapaneseBookmarkExport(size_t size);

// How many links an export made by JapaneseBookmarkExport holds.
size_t JapaneseBookmarkLinkCount(const std::string& exportBytes);
