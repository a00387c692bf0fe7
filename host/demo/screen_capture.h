// Saving what the screen shows in a rectangle as a PNG file.
#pragma once
#include <windows.h>

// Copies the screen inside area (clipped to the screen) into a PNG file at
// path. FALSE when nothing could be captured or written.
BOOL SaveScreenAreaAsPng(RECT area, const char* path);
