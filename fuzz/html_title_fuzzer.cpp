// Feeds arbitrary bytes, split into lines as the text-mode file reader splits
// them, to the title scanner, and checks what it promises of the title.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/imports/html/cp932_text.h"
#include "settings/imports/html/html_title.h"

namespace {
void Require(bool condition) {
    if (!condition)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    HtmlTitleScanner scanner;
    bool done = false;
    size_t start = 0;
    while (start < input.size() && !done) {
        size_t end = input.find('\n', start);
        if (end == std::string::npos)
            end = input.size();
        std::string line = input.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        done = scanner.AddLine(line);
        start = end + 1;
    }
    const std::string& title = scanner.Title();
    Require(title.find('\0') == std::string::npos);
    Require(title.size() <= input.size());
    // A finished title holds no closing tag at a character boundary.
    if (done)
        Require(FindCp932(UpperCp932(title), "</TITLE>") == std::string::npos);
    return 0;
}
