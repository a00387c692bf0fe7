// Feeds arbitrary bytes to the tag reader and the link scan, and checks what
// they promise of their results.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/imports/html/cp932_text.h"
#include "settings/imports/html/html_tags.h"

namespace {
void Require(bool condition) {
    if (!condition)
        std::abort();
}

// Tags and text together hold every byte but the brackets and line breaks.
void CheckReadTag(const uint8_t* data, size_t size) {
    MemoryByteSource source(data, size);
    std::string tag, text;
    size_t kept = 0;
    while (true) {
        bool more = ReadTag(source, tag, text);
        Require(tag.find_first_of("<>\r\n") == std::string::npos);
        Require(text.find_first_of("<>\r\n") == std::string::npos);
        kept += tag.size() + text.size();
        if (!more)
            break;
    }
    size_t expected = 0;
    for (size_t i = 0; i < size; ++i) {
        uint8_t byte = data[i];
        expected += byte != '<' && byte != '>' && byte != '\r' && byte != '\n';
    }
    Require(kept == expected);
}

void CheckLinks(const uint8_t* data, size_t size) {
    MemoryByteSource source(data, size);
    for (const HtmlLink& link : ScanHtmlLinks(source)) {
        Require(link.title.find('\0') == std::string::npos);
        Require(link.address.find_first_of(std::string("<>\r\n\0", 5)) == std::string::npos);
        // A double quote may hide in the address only as a second byte.
        Require(FindCp932(link.address, "\"") == std::string::npos);
        Require(link.title.find_first_of("<>\r\n") == std::string::npos);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckReadTag(data, size);
    CheckLinks(data, size);
    return 0;
}
