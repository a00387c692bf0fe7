#include "cp932_text.h"

bool IsCp932LeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

namespace {
// The length of the character that starts at position: 2 for a lead byte with a
// byte after it, else 1 (a lead byte at the very end stands alone).
size_t CharacterLength(const std::string& text, size_t position) {
    bool lead = IsCp932LeadByte(static_cast<unsigned char>(text[position]));
    return lead && position + 1 < text.size() ? 2 : 1;
}
} // namespace

size_t FindCp932(const std::string& text, const std::string& needle, size_t from) {
    for (size_t position = from; position < text.size();
         position += CharacterLength(text, position)) {
        if (text.compare(position, needle.size(), needle) == 0)
            return position;
    }
    return needle.empty() && from == text.size() ? from : std::string::npos;
}

std::string UpperCp932(const std::string& text) {
    std::string upper = text;
    for (size_t position = 0; position < upper.size();) {
        size_t length = CharacterLength(upper, position);
        char& byte = upper[position];
        if (length == 1 && byte >= 'a' && byte <= 'z')
            byte = static_cast<char>(byte - 'a' + 'A');
        position += length;
    }
    return upper;
}

std::string UpToNul(const std::string& text) {
    return text.substr(0, text.find('\0'));
}
