// Printing menus and texts to standard output in UTF-8, for the demo's
// headless run. Menu and editor texts are Shift-JIS and are converted.
#pragma once
#include <windows.h>

#include <string>

// Shift-JIS (code page 932) bytes as UTF-8.
std::string ToUtf8(const std::string& cp932);

// Writes UTF-8 text to standard output as it is.
void PrintUtf8(const std::string& utf8);
// Writes Shift-JIS text to standard output, converted.
void PrintText(const std::string& cp932);

// The items of menu from position first on, one per line, submenus indented
// below their item, with column breaks and grayed items marked.
void PrintMenuTree(HMENU menu, int first, int depth = 1);
