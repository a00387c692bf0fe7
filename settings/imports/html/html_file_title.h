// The title an HTML file gives itself, proposed as the imported submenu's title.
#pragma once
#include <string>

// Reads the file as text, line by line, up to the end of its TITLE element.
// False when the file cannot be opened (title unchanged); otherwise title
// becomes the element's text, "" when the file has none.
bool ReadHtmlFileTitle(const char* path, std::string& title);
