// Feeds arbitrary bytes to the title proposal, and checks what it promises of
// the title and of its reading.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/imports/html/html_text.h"
#include "settings/imports/html/html_title.h"

namespace {
void Require(bool condition) {
    if (!condition)
        std::abort();
}

class CountingSource : public MemoryByteSource {
  public:
    using MemoryByteSource::MemoryByteSource;
    int Next() override {
        int byte = MemoryByteSource::Next();
        askedAtEnd += byte == kEnd;
        return byte;
    }
    size_t askedAtEnd = 0;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CountingSource source(data, size);
    std::string title = ReadHtmlTitle(source);
    Require(title.size() <= kMaxTitleBytes);
    Require(title.find_first_of(std::string("\r\n\t\0", 4)) == std::string::npos);
    Require(title.empty() || (title.front() != ' ' && title.back() != ' '));
    // The end of the input ends the scan: it is not asked for more again and again.
    Require(source.askedAtEnd <= 8);
    return 0;
}
