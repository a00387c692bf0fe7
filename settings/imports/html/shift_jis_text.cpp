#include "settings/imports/html/shift_jis_text.h"

#include <windows.h>

#include "settings/imports/html/utf8_text.h"

namespace {
const UINT kShiftJisCodePage = 932;

// Characters whose Shift-JIS form the system's table gives to a neighbour.
struct WideVariant {
    WCHAR from;
    WCHAR to;
};
const WideVariant kShiftJisVariants[] = {
    {0x301C, 0xFF5E}, // WAVE DASH → FULLWIDTH TILDE (0x8160)
    {0x2016, 0x2225}, // DOUBLE VERTICAL LINE → PARALLEL TO (0x8161)
    {0x2212, 0xFF0D}, // MINUS SIGN → FULLWIDTH HYPHEN-MINUS (0x817C)
    {0x2014, 0x2015}, // EM DASH → HORIZONTAL BAR (0x815C)
    {0x00A2, 0xFFE0}, // CENT SIGN → FULLWIDTH CENT SIGN (0x8191)
    {0x00A3, 0xFFE1}, // POUND SIGN → FULLWIDTH POUND SIGN (0x8192)
    {0x00AC, 0xFFE2}, // NOT SIGN → FULLWIDTH NOT SIGN (0x81CA)
};

std::wstring Widen(const std::string& utf8) {
    int length =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(length, L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], length);
    return wide;
}

// Shift-JIS for the wide text; false when some character has no form there
// (no best-fit guesses such as "e" for "é" or a backslash for "¥").
bool ToShiftJis(const WCHAR* wide, int length, std::string& out) {
    if (length == 0)
        return true;
    BOOL usedDefault = FALSE;
    int size = ::WideCharToMultiByte(kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, wide, length, nullptr,
                                     0, "?", &usedDefault);
    if (usedDefault || size <= 0)
        return false;
    size_t start = out.size();
    out.resize(start + size);
    ::WideCharToMultiByte(kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, wide, length, &out[start], size,
                          "?", nullptr);
    return true;
}

WCHAR TitleVariant(WCHAR c) {
    for (const WideVariant& variant : kShiftJisVariants)
        if (c == variant.from)
            return variant.to;
    return c;
}

enum class Unmappable { kQuestionMark, kPercentEncoded };

std::string Convert(const std::string& utf8, bool titleVariants, Unmappable unmappable) {
    std::wstring wide = Widen(utf8);
    if (titleVariants)
        for (WCHAR& c : wide)
            c = TitleVariant(c);
    std::string out;
    if (ToShiftJis(wide.data(), static_cast<int>(wide.size()), out))
        return out;
    // Some character has no form: one character at a time.
    out.clear();
    for (size_t position = 0; position < utf8.size();) {
        uint32_t codePoint = NextCodePoint(utf8, position);
        bool converted = false;
        if (codePoint < 0x10000) {
            WCHAR c = static_cast<WCHAR>(codePoint);
            if (titleVariants)
                c = TitleVariant(c);
            converted = ToShiftJis(&c, 1, out);
        }
        if (converted)
            continue;
        if (unmappable == Unmappable::kQuestionMark) {
            out.push_back('?');
            continue;
        }
        std::string bytes;
        AppendUtf8(bytes, codePoint);
        static const char kHex[] = "0123456789ABCDEF";
        for (unsigned char byte : bytes) {
            out.push_back('%');
            out.push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 0x0F]);
        }
    }
    return out;
}
} // namespace

std::string TitleToShiftJis(const std::string& utf8) {
    return Convert(utf8, true, Unmappable::kQuestionMark);
}

std::string AddressToShiftJis(const std::string& utf8) {
    return Convert(utf8, false, Unmappable::kPercentEncoded);
}
