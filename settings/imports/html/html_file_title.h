// The title an HTML file gives itself, proposed as the imported submenu's title.
#pragma once
#include <string>

// Reads the file, in the encoding it declares, up to the end of its first
// TITLE element. False when the file cannot be opened (title unchanged);
// otherwise title becomes the element's text in Shift-JIS, "" when the file
// has none.
bool ReadHtmlFileTitle(const char* path, std::string& title);
