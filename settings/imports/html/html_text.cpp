#include "html_text.h"

#include "utf8_text.h"

namespace {
bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\f';
}

// Appends text less its line breaks, folding runs of blanks to one space
// (also across pieces: a blank at the end of out counts).
void AppendFolded(std::string& out, const std::string& text, size_t limit) {
    for (char c : text) {
        if (out.size() >= limit)
            return;
        if (IsLineBreak(c))
            continue;
        if (IsBlank(c)) {
            if (!out.empty() && out.back() == ' ')
                continue;
            c = ' ';
        }
        out.push_back(c);
    }
}
} // namespace

void TitleText::Append(const std::string& text) {
    AppendFolded(raw_, text, kMaxRawBytes);
}

std::string TitleText::Title() const {
    std::string decoded = DecodeCharacterReferences(raw_, context_);
    // No-break spaces are blanks in a menu title; control characters that
    // references may have brought in are left out.
    std::string plain;
    for (size_t position = 0; position < decoded.size();) {
        uint32_t codePoint = NextCodePoint(decoded, position);
        if (codePoint == 0xA0 || codePoint == '\t' || codePoint == '\f')
            codePoint = ' ';
        if (codePoint == '\r' || codePoint == '\n')
            continue;
        if (codePoint < 0x20 || codePoint == 0x7F || (codePoint >= 0x80 && codePoint < 0xA0))
            continue;
        AppendUtf8(plain, codePoint);
    }
    std::string folded;
    AppendFolded(folded, plain, plain.size());
    size_t start = folded.find_first_not_of(' ');
    if (start == std::string::npos)
        return "";
    size_t end = folded.find_last_not_of(' ') + 1;
    std::string title = folded.substr(start, end - start);
    title.resize(Utf8PrefixLength(title, kMaxTitleBytes));
    // A cut may leave a blank at the end.
    while (!title.empty() && title.back() == ' ')
        title.pop_back();
    return title;
}

std::string LinkAddress(const std::string& href) {
    std::string decoded = DecodeCharacterReferences(href, ReferenceContext::kAttribute);
    // Blanks and control characters at both ends go, as do tabs and line
    // breaks anywhere.
    size_t start = 0, end = decoded.size();
    while (start < end && static_cast<unsigned char>(decoded[start]) <= 0x20)
        ++start;
    while (end > start && static_cast<unsigned char>(decoded[end - 1]) <= 0x20)
        --end;
    std::string address;
    for (size_t i = start; i < end; ++i)
        if (decoded[i] != '\t' && !IsLineBreak(decoded[i]))
            address.push_back(decoded[i]);
    return address;
}
