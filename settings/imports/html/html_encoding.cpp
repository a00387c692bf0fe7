#include "html_encoding.h"

#include <iterator>

#include "charset_labels.h"
#include "html_tokenizer.h"
#include "japanese_guess.h"
#include "utf8_text.h"

namespace {
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

std::string LowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The label after "charset=" in a Content-Type value; "" when there is none.
std::string CharsetOfContentType(const std::string& content) {
    std::string lower = LowerAscii(content);
    for (size_t found = lower.find("charset"); found != std::string::npos;
         found = lower.find("charset", found + 1)) {
        size_t position = found + 7;
        while (position < lower.size() && IsBlank(lower[position]))
            ++position;
        if (position >= lower.size() || lower[position] != '=')
            continue;
        ++position;
        while (position < lower.size() && IsBlank(lower[position]))
            ++position;
        if (position < lower.size() && (lower[position] == '"' || lower[position] == '\'')) {
            size_t close = lower.find(lower[position], position + 1);
            if (close == std::string::npos)
                return "";
            return content.substr(position + 1, close - position - 1);
        }
        size_t end = position;
        while (end < lower.size() && !IsBlank(lower[end]) && lower[end] != ';')
            ++end;
        return content.substr(position, end - position);
    }
    return "";
}

// The encoding a META tag declares, if it declares one that is read here.
bool EncodingOfMeta(const HtmlToken& meta, Charset* encoding) {
    if (const std::string* charset = meta.Attribute("charset"))
        return CharsetFromLabel(*charset, encoding);
    const std::string* httpEquiv = meta.Attribute("http-equiv");
    const std::string* content = meta.Attribute("content");
    if (!httpEquiv || !content || LowerAscii(*httpEquiv) != "content-type")
        return false;
    std::string label = CharsetOfContentType(*content);
    return !label.empty() && CharsetFromLabel(label, encoding);
}

bool DeclaredEncoding(const unsigned char* bytes, size_t size, Charset* encoding) {
    MemoryByteSource source(bytes, size);
    HtmlTokenizer tokenizer(source);
    HtmlToken token;
    while (tokenizer.Next(token)) {
        if (token.kind == HtmlToken::kStartTag && token.name == "meta" &&
            EncodingOfMeta(token, encoding))
            return true;
        if ((token.kind == HtmlToken::kStartTag && token.name == "body") ||
            (token.kind == HtmlToken::kEndTag && token.name == "head"))
            return false;
    }
    return false;
}
} // namespace

Charset UndeclaredCharset(const JapaneseEvidence& evidence, bool moreFollows) {
    switch (evidence.Decide(moreFollows)) {
    case JapaneseGuess::kUtf8:
        return Charset{HtmlEncoding::kUtf8, kUtf8CodePage};
    case JapaneseGuess::kEucJp:
        return Charset{HtmlEncoding::kEucJp, kEucJpCodePage};
    case JapaneseGuess::kShiftJis:
        break;
    }
    return Charset{};
}

Charset DetectUndeclaredEncoding(const unsigned char* bytes, size_t size) {
    JapaneseEvidence evidence;
    evidence.Add(bytes, size);
    return UndeclaredCharset(evidence, size >= kEncodingPrescanBytes);
}

DetectedEncoding DetectHtmlEncoding(const void* data, size_t size) {
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    DetectedEncoding detected;
    Charset charset;
    if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        charset = Charset{HtmlEncoding::kUtf8, kUtf8CodePage};
        detected.byteOrderMarkLength = 3;
    } else if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        charset = Charset{HtmlEncoding::kUtf16Le, kUtf16LeCodePage};
        detected.byteOrderMarkLength = 2;
    } else if (size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
        charset = Charset{HtmlEncoding::kUtf16Be, kUtf16BeCodePage};
        detected.byteOrderMarkLength = 2;
    } else if (!DeclaredEncoding(bytes, size, &charset)) {
        charset = DetectUndeclaredEncoding(bytes, size);
        detected.fromBytes = true;
    }
    detected.encoding = charset.encoding;
    detected.codePage = charset.codePage;
    return detected;
}

namespace {
bool InRange(unsigned char byte, unsigned char low, unsigned char high) {
    return byte >= low && byte <= high;
}

// A lead byte and the byte after it, when that byte is there.
CharacterSpan Pair(size_t available, bool validSecond) {
    if (available < 2)
        return {2, true}; // wait for the byte after it
    return validSecond ? CharacterSpan{2, true} : CharacterSpan{1, false};
}
} // namespace

CharacterSpan CharacterAt(HtmlEncoding encoding, const unsigned char* bytes, size_t available) {
    unsigned char lead = bytes[0];
    unsigned char second = available >= 2 ? bytes[1] : 0;
    switch (encoding) {
    case HtmlEncoding::kUtf8:
        // The system's UTF-8 reader never takes an ASCII byte into a broken
        // sequence; only the length matters here.
        return {Utf8SequenceLength(lead), true};
    case HtmlEncoding::kShiftJis:
        if (InRange(lead, 0x81, 0x9F) || InRange(lead, 0xE0, 0xFC))
            return Pair(available, InRange(second, 0x40, 0x7E) || InRange(second, 0x80, 0xFC));
        break;
    case HtmlEncoding::kEucJp:
        if (lead == 0x8E)
            return Pair(available, InRange(second, 0xA1, 0xDF));
        if (InRange(lead, 0xA1, 0xFE))
            return Pair(available, InRange(second, 0xA1, 0xFE));
        if (lead == 0x8F) {
            if (available < 3)
                return {3, false};
            bool valid = InRange(bytes[1], 0xA1, 0xFE) && InRange(bytes[2], 0xA1, 0xFE);
            return {valid ? 3u : 1u, false};
        }
        break;
    case HtmlEncoding::kUtf16Le:
    case HtmlEncoding::kUtf16Be: {
        if (available < 2)
            return {2, true};
        unsigned char high = encoding == HtmlEncoding::kUtf16Le ? bytes[1] : bytes[0];
        return {InRange(high, 0xD8, 0xDB) ? 4u : 2u, true}; // a high surrogate takes its pair
    }
    case HtmlEncoding::kDoubleByte:
    case HtmlEncoding::kGb18030:
        // Every second byte of these is 40 or above, so a lead byte never
        // takes the "<", the quote or the ampersand after it.
        if (InRange(lead, 0x81, 0xFE)) {
            if (encoding == HtmlEncoding::kGb18030 && InRange(second, 0x30, 0x39)) {
                if (available < 4)
                    return {4, true}; // wait for the rest
                bool valid = InRange(bytes[2], 0x81, 0xFE) && InRange(bytes[3], 0x30, 0x39);
                return valid ? CharacterSpan{4, true} : CharacterSpan{1, false};
            }
            return Pair(available, InRange(second, 0x40, 0x7E) || InRange(second, 0x80, 0xFE));
        }
        break;
    case HtmlEncoding::kSingleByte:
        break;
    }
    return {1, true};
}

size_t CompleteCharactersLength(HtmlEncoding encoding, const unsigned char* bytes, size_t size) {
    size_t position = 0;
    while (position < size) {
        size_t length = CharacterAt(encoding, bytes + position, size - position).length;
        if (position + length > size)
            break;
        position += length;
    }
    return position;
}
