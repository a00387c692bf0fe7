#include "screen_capture.h"

#include <vector>

#include "png_writer.h"

BOOL SaveScreenAreaAsPng(RECT area, const char* path) {
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (!IntersectRect(&area, &area, &screen))
        return FALSE;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screenDc = GetDC(nullptr);
    HDC memoryDc = CreateCompatibleDC(screenDc);
    HBITMAP bitmap = CreateDIBSection(screenDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    BOOL copied = FALSE;
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memoryDc, bitmap);
        copied = BitBlt(memoryDc, 0, 0, width, height, screenDc, area.left, area.top,
                        SRCCOPY | CAPTUREBLT);
        GdiFlush();
        SelectObject(memoryDc, old);
    }
    std::vector<BYTE> bgr;
    if (copied) {
        bgr.resize(static_cast<size_t>(width) * height * 3);
        const BYTE* bgra = static_cast<const BYTE*>(bits);
        for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
            bgr[i * 3] = bgra[i * 4];
            bgr[i * 3 + 1] = bgra[i * 4 + 1];
            bgr[i * 3 + 2] = bgra[i * 4 + 2];
        }
    }
    if (bitmap)
        DeleteObject(bitmap);
    DeleteDC(memoryDc);
    ReleaseDC(nullptr, screenDc);
    return copied && WritePngFile(path, width, height, width * 3, bgr.data());
}
