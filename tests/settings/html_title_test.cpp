// The title proposed from an HTML file's TITLE element, over UTF-8 text.
#include <gtest/gtest.h>

#include <string>

#include "settings/imports/html/html_title.h"

namespace {
std::string TitleOf(const std::string& html) {
    MemoryByteSource source(html.data(), html.size());
    return ReadHtmlTitle(source);
}

// Counts the bytes a scan takes from its source.
class CountingSource : public MemoryByteSource {
  public:
    using MemoryByteSource::MemoryByteSource;
    int Next() override {
        ++taken;
        return MemoryByteSource::Next();
    }
    size_t taken = 0;
};
} // namespace

TEST(HtmlTitle, TheFirstTitleElementCleanedLikeALinkTitle) {
    const struct {
        const char* html;
        const char* expected;
    } cases[] = {
        {"<HTML><HEAD><title>My Bookmarks</Title></HEAD><TITLE>x</TITLE>", "My Bookmarks"},
        {"<TiTlE>  spaced \t out  </tItLe>", "spaced out"},
        {"<HEAD><TITLE>Book\r\nmarks of \r\nOstrel</TITLE>", "Bookmarks of Ostrel"},
        {"<title>AT&amp;T &lt;News&gt;</title>", "AT&T <News>"},
        // Tags inside are text, and so is a closing tag with blanks.
        {"<title>a <b>bold</b> title</title >", "a <b>bold</b> title"},
        {"<title>open to the end", "open to the end"},
        {"<script>document.title = '<title>no</title>';</script><title>yes</title>", "yes"},
        {"<!-- <title>no</title> --><title>yes</title>", "yes"},
        {"<svg><title>first one counts</title></svg>", "first one counts"},
        {u8"<title>\u30D6\u30C3\u30AF\u30DE\u30FC\u30AF\u8868</title>",
         u8"\u30D6\u30C3\u30AF\u30DE\u30FC\u30AF\u8868"},
        {"<html><h1>Bookmarks</h1></html>", ""},
        {"<title></title>", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TitleOf(c.html), c.expected) << c.html;
}

TEST(HtmlTitle, AnUnclosedTitleIsReadOnlyAsFarAsATitleIsKept) {
    std::string html = "<html><head><title>" + std::string(5 * 1024 * 1024, 'x');
    CountingSource source(html.data(), html.size());
    std::string title = ReadHtmlTitle(source);
    EXPECT_EQ(title, std::string(1024, 'x'));
    EXPECT_LT(source.taken, 64u * 1024) << "the scan stops soon after the title is full";
}
