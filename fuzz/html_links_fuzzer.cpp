// Feeds arbitrary bytes to the HTML import's byte-level reading: the
// encoding detection, the cut between blocks, character references and the
// link scan, and checks what each promises of its results.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/imports/html/character_references.h"
#include "settings/imports/html/html_encoding.h"
#include "settings/imports/html/html_links.h"
#include "settings/imports/html/html_text.h"
#include "settings/imports/html/utf8_text.h"

namespace {
void Require(bool condition) {
    if (!condition)
        std::abort();
}

bool IsValidUtf8(const std::string& text) {
    for (size_t position = 0; position < text.size();) {
        size_t start = position;
        if (NextCodePoint(text, position) == kReplacementCharacter && position == start + 1)
            return false;
    }
    return true;
}

void CheckEncoding(const uint8_t* data, size_t size) {
    DetectedEncoding detected = DetectHtmlEncoding(data, size);
    Require(detected.byteOrderMarkLength <= 3 && detected.byteOrderMarkLength <= size);
    // Without a byte order mark, never UTF-16.
    if (detected.byteOrderMarkLength != 2)
        Require(detected.encoding != HtmlEncoding::kUtf16Le &&
                detected.encoding != HtmlEncoding::kUtf16Be);
    const HtmlEncoding all[] = {HtmlEncoding::kShiftJis,   HtmlEncoding::kUtf8,
                                HtmlEncoding::kUtf16Le,    HtmlEncoding::kUtf16Be,
                                HtmlEncoding::kEucJp,      HtmlEncoding::kSingleByte,
                                HtmlEncoding::kDoubleByte, HtmlEncoding::kGb18030};
    for (HtmlEncoding encoding : all) {
        size_t complete = CompleteCharactersLength(encoding, data, size);
        // At most one character (four bytes) waits for the next block.
        Require(complete <= size && size - complete < 4);
        // A byte of markup never ends a character that began before it.
        for (size_t position = 0; position < complete;) {
            CharacterSpan span = CharacterAt(encoding, data + position, size - position);
            Require(span.length >= 1 && span.length <= 4);
            if (encoding != HtmlEncoding::kUtf16Le && encoding != HtmlEncoding::kUtf16Be &&
                encoding != HtmlEncoding::kUtf8 && span.length > 1)
                for (size_t i = 1; i < span.length; ++i)
                    Require(std::string("<>\"'&").find(static_cast<char>(data[position + i])) ==
                            std::string::npos);
            position += span.length;
        }
    }
    // Undeclared text is read as a Japanese encoding or as UTF-8.
    Charset undeclared = DetectUndeclaredEncoding(data, size);
    Require(undeclared.encoding == HtmlEncoding::kShiftJis ||
            undeclared.encoding == HtmlEncoding::kEucJp ||
            undeclared.encoding == HtmlEncoding::kUtf8);
    // The evidence decides alike however the file's blocks cut it.
    JapaneseEvidence whole, split;
    whole.Add(data, size);
    size_t cut = size ? data[0] % (size + 1) : 0;
    split.Add(data, cut);
    split.Add(data + cut, size - cut);
    for (bool moreFollows : {false, true})
        Require(whole.Decide(moreFollows) == split.Decide(moreFollows));
}

void CheckReferences(const std::string& text) {
    for (ReferenceContext context : {ReferenceContext::kText, ReferenceContext::kAttribute}) {
        std::string decoded = DecodeCharacterReferences(text, context);
        if (text.find('&') == std::string::npos)
            Require(decoded == text);
        if (IsValidUtf8(text))
            Require(IsValidUtf8(decoded));
    }
}

void CheckLinks(const uint8_t* data, size_t size, bool validInput) {
    MemoryByteSource source(data, size);
    for (const HtmlLink& link : ScanHtmlLinks(source)) {
        const std::string& title = link.title;
        Require(title.size() <= kMaxTitleBytes);
        Require(title.find_first_of(std::string("\r\n\t\0", 4)) == std::string::npos);
        Require(title.find("  ") == std::string::npos);
        Require(title.empty() || (title.front() != ' ' && title.back() != ' '));
        const std::string& address = link.address;
        Require(address.find("://") != std::string::npos);
        Require(address.find_first_of("\r\n\t") == std::string::npos);
        Require(static_cast<unsigned char>(address.front()) > 0x20 &&
                static_cast<unsigned char>(address.back()) > 0x20);
        if (validInput)
            Require(IsValidUtf8(title) && IsValidUtf8(address));
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    bool validInput = IsValidUtf8(text);
    CheckEncoding(data, size);
    CheckReferences(text);
    CheckLinks(data, size, validInput);
    return 0;
}
