#include "settings/backup/backup_text.h"

#include <windows.h>

namespace {
const UINT kShiftJis = 932;

std::wstring Widen(UINT codePage, DWORD flags, const char* text, int length) {
    int units = ::MultiByteToWideChar(codePage, flags, text, length, nullptr, 0);
    if (units <= 0)
        return std::wstring();
    std::wstring wide(units, L'\0');
    ::MultiByteToWideChar(codePage, flags, text, length, &wide[0], units);
    return wide;
}

std::string Utf8Of(const std::wstring& wide) {
    int length = static_cast<int>(wide.size());
    int bytes =
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string text(bytes > 0 ? bytes : 0, '\0');
    if (bytes > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, &text[0], bytes, nullptr, nullptr);
    return text;
}

// Shift-JIS of units, or false when one of them has no Shift-JIS form.
bool NarrowExactly(const wchar_t* units, int count, std::string& out) {
    out.resize(static_cast<size_t>(count) * 2);
    BOOL usedDefault = FALSE;
    int bytes = ::WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, units, count, &out[0],
                                      static_cast<int>(out.size()), "?", &usedDefault);
    if (bytes <= 0 || usedDefault)
        return false;
    out.resize(bytes);
    return true;
}
} // namespace

std::string Cp932ToUtf8(const std::string& text, int& unconvertible) {
    int length = static_cast<int>(text.size());
    if (length == 0)
        return std::string();
    std::wstring wide = Widen(kShiftJis, MB_ERR_INVALID_CHARS, text.data(), length);
    if (wide.empty()) {
        // Character by character: a lead byte whose pair is no character
        // stands alone, so the byte after it gets its own chance.
        for (int i = 0; i < length;) {
            bool lead = ::IsDBCSLeadByteEx(kShiftJis, static_cast<BYTE>(text[i])) && i + 1 < length;
            std::wstring one;
            if (lead)
                one = Widen(kShiftJis, MB_ERR_INVALID_CHARS, text.data() + i, 2);
            if (one.empty() && !lead)
                one = Widen(kShiftJis, MB_ERR_INVALID_CHARS, text.data() + i, 1);
            if (one.empty()) {
                one = L"?";
                ++unconvertible;
                i += 1;
            } else {
                i += lead ? 2 : 1;
            }
            wide += one;
        }
    }
    return Utf8Of(wide);
}

std::string Utf8ToCp932(const std::string& text, int& replaced) {
    std::wstring wide = Widen(CP_UTF8, 0, text.data(), static_cast<int>(text.size()));
    std::string out;
    if (wide.empty() || (wide.find(L'\0') == std::wstring::npos &&
                         NarrowExactly(wide.data(), static_cast<int>(wide.size()), out)))
        return out;
    // Code point by code point, so that a character beyond the BMP (two
    // units) becomes one '?'.
    out.clear();
    std::string one;
    for (size_t i = 0; i < wide.size();) {
        size_t units =
            IS_HIGH_SURROGATE(wide[i]) && i + 1 < wide.size() && IS_LOW_SURROGATE(wide[i + 1]) ? 2
                                                                                               : 1;
        if (wide[i] != L'\0' && NarrowExactly(wide.data() + i, static_cast<int>(units), one)) {
            out += one;
        } else {
            out += '?';
            ++replaced;
        }
        i += units;
    }
    return out;
}

std::string WithCrLfLineEnds(const std::string& text) {
    // CR and LF never stand as the second byte of a Shift-JIS character.
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}
