// A minimal PNG encoder for screenshots: 8-bit RGB, no filtering, and a zlib
// stream of stored (uncompressed) deflate blocks. Plain bytes, no platform.
#pragma once
#include <cstdint>
#include <vector>

// rgb holds height rows of width pixels, three bytes each, top row first.
std::vector<uint8_t> EncodePng(uint32_t width, uint32_t height, const std::vector<uint8_t>& rgb);
