// Writing a picture as a PNG file through the system's image encoder (the
// Windows Imaging Component), which compresses it.
#pragma once
#include <windows.h>

// bgr holds height rows of width pixels, three bytes each (blue, green, red),
// top row first, each row stride bytes after the one before. FALSE when the
// encoder is missing or the file could not be written.
BOOL WritePngFile(const char* path, UINT width, UINT height, UINT stride, const BYTE* bgr);
