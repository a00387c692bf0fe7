// Reproducible hostile file contents.
#pragma once
#include <random>
#include <string>
#include <vector>

// count bytes of any value, the same for the same seed.
inline std::string RandomBytes(size_t count, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(count, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(generator() & 0xFF);
    return bytes;
}

// count pieces picked at random from pieces, joined: random input that still
// hits the few byte sequences a parser gives meaning to.
inline std::string RandomPieces(const std::vector<std::string>& pieces, size_t count,
                                unsigned seed) {
    std::mt19937 generator(seed);
    std::string joined;
    for (size_t i = 0; i < count; ++i)
        joined += pieces[generator() % pieces.size()];
    return joined;
}
