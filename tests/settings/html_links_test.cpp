// The tag reader and the link scan of the HTML bookmark import, over bytes as
// they stand in a Shift-JIS file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/imports/html/html_tags.h"

namespace {
std::vector<HtmlLink> Scan(const std::string& html) {
    MemoryByteSource source(html.data(), html.size());
    return ScanHtmlLinks(source);
}

void ExpectLink(const HtmlLink& link, const std::string& title, const std::string& address) {
    EXPECT_EQ(link.title, title);
    EXPECT_EQ(link.address, address);
}
} // namespace

TEST(ReadTag, SplitsTextAndTagAndDropsLineBreaksAnywhere) {
    std::string html = "ab\r\nc<A HR\nEF=\"x\">rest";
    MemoryByteSource source(html.data(), html.size());
    std::string tag = "old", text = "old";
    EXPECT_TRUE(ReadTag(source, tag, text));
    EXPECT_EQ(text, "abc");
    EXPECT_EQ(tag, "A HREF=\"x\"");
    EXPECT_FALSE(ReadTag(source, tag, text));
    EXPECT_EQ(text, "rest");
    EXPECT_EQ(tag, "");
    EXPECT_FALSE(ReadTag(source, tag, text));
    EXPECT_EQ(text, "");
}

TEST(ReadTag, CloseWithoutOpenAndRepeatedOpen) {
    std::string html = "plain>x<<B<C>";
    MemoryByteSource source(html.data(), html.size());
    std::string tag, text;
    EXPECT_TRUE(ReadTag(source, tag, text));
    EXPECT_EQ(text, "plain");
    EXPECT_EQ(tag, "");
    EXPECT_TRUE(ReadTag(source, tag, text));
    EXPECT_EQ(text, "x");
    EXPECT_EQ(tag, "BC");
}

TEST(ReadTag, EndInsideATagKeepsWhatWasRead) {
    std::string html = "t<A HREF=\"http://";
    MemoryByteSource source(html.data(), html.size());
    std::string tag, text;
    EXPECT_FALSE(ReadTag(source, tag, text));
    EXPECT_EQ(text, "t");
    EXPECT_EQ(tag, "A HREF=\"http://");
}

TEST(ReadTag, KeepsNulAndHighBytes) {
    const std::string html("a\0\x82\xA0<b\0c>", 9);
    MemoryByteSource source(html.data(), html.size());
    std::string tag, text;
    EXPECT_TRUE(ReadTag(source, tag, text));
    EXPECT_EQ(text, std::string("a\0\x82\xA0", 4));
    EXPECT_EQ(tag, std::string("b\0c", 3));
}

TEST(HtmlLinks, UpperAndLowerCaseLinksInFileOrder) {
    auto links = Scan("<DL><DT><A HREF=\"http://a.example/\" ADD_DATE=\"1\">First</A>\n"
                      "<DT><a href=\"https://b.example/x?y=1&amp;z\">second</a></DL>");
    ASSERT_EQ(links.size(), 2u);
    ExpectLink(links[0], "First", "http://a.example/");
    ExpectLink(links[1], "second", "https://b.example/x?y=1&amp;z");
}

TEST(HtmlLinks, LeadingBlanksBeforeTheTagNameAreSkipped) {
    auto links = Scan("< \t\v\fA HREF=\"ftp://f.example\">f</A>");
    ASSERT_EQ(links.size(), 1u);
    ExpectLink(links[0], "f", "ftp://f.example");
}

TEST(HtmlLinks, AddressWithoutTwoDoubleQuotesIsEmpty) {
    auto links = Scan("<A HREF='http://single.example/'>single</A>"
                      "<A HREF=http://bare.example/>bare</A>"
                      "<A HREF=\"http://open.example/>open</A>");
    ASSERT_EQ(links.size(), 3u);
    ExpectLink(links[0], "single", "");
    ExpectLink(links[1], "bare", "");
    ExpectLink(links[2], "open", "");
}

TEST(HtmlLinks, FirstQuotedValueWinsWhateverItsAttribute) {
    auto links = Scan("<A NAME=\"top\" HREF=\"http://x.example/\">x</A>");
    ASSERT_EQ(links.size(), 1u);
    ExpectLink(links[0], "x", "top");
}

TEST(HtmlLinks, TagsWithoutSchemeSeparatorOrNotStartingWithAAreSkipped) {
    auto links = Scan("<A HREF=\"mailto:me@example.jp\">mail</A><A NAME=\"n\">anchor</A>"
                      "<IMG SRC=\"http://i.example/p.gif\">img<B>http://</B>"
                      "<AREA SHAPE=\"rect\" HREF=\"http://map.example/\">area text<P>");
    ASSERT_EQ(links.size(), 1u);
    ExpectLink(links[0], "area text", "rect");
}

TEST(HtmlLinks, TextWrappedInAnotherElementGivesEmptyTitle) {
    auto links = Scan("<A HREF=\"http://b.example/\"><B>bold</B></A>");
    ASSERT_EQ(links.size(), 1u);
    ExpectLink(links[0], "", "http://b.example/");
}

TEST(HtmlLinks, SecondOfTwoAdjacentLinksOnlyEndsTheFirstTitle) {
    auto links = Scan("<A HREF=\"http://1.example/\"><A HREF=\"http://2.example/\">two</A>"
                      "<A HREF=\"http://3.example/\">three</A>");
    ASSERT_EQ(links.size(), 2u);
    ExpectLink(links[0], "", "http://1.example/");
    ExpectLink(links[1], "three", "http://3.example/");
}

TEST(HtmlLinks, TitleOverSeveralLinesIsJoined) {
    auto links = Scan("<A HREF=\"http://l.example/\">one\r\ntwo\nthree</A>");
    ASSERT_EQ(links.size(), 1u);
    ExpectLink(links[0], "onetwothree", "http://l.example/");
}

TEST(HtmlLinks, ShiftJisTitlesAndAddressesAreKeptByteForByte) {
    // "表示" (0x95 0x5C 0x8E 0xA6): a second byte that is a backslash.
    auto links = Scan("<A HREF=\"http://j.example/表\">表示ページ</A>");
    ASSERT_EQ(links.size(), 1u);
    ExpectLink(links[0], "表示ページ", "http://j.example/表");
    EXPECT_EQ(links[0].title.substr(0, 2), "\x95\x5C");
}

TEST(HtmlLinks, SchemeSeparatorIsNotMatchedAcrossADoubleByteCharacter) {
    // 0x81 0x3A is not a character, but the lead byte still takes the colon,
    // so no "://" starts at a character boundary.
    auto links = Scan("<A HREF=\"x\x81://\">no</A><A HREF=\"x\x81:://\">yes</A>");
    ASSERT_EQ(links.size(), 1u);
    ExpectLink(links[0], "yes", "x\x81:://");
}

TEST(HtmlLinks, FileEndingInsideALinkKeepsWhatWasRead) {
    auto inTitle = Scan("<A HREF=\"http://e.example/\">unfinished ti");
    ASSERT_EQ(inTitle.size(), 1u);
    ExpectLink(inTitle[0], "unfinished ti", "http://e.example/");

    EXPECT_TRUE(Scan("<A HREF=\"http://e.example/\"").empty());
    EXPECT_TRUE(Scan("").empty());
}

TEST(HtmlLinks, NulBytesEndTheValuesTheyAppearIn) {
    const char html[] = "<A HREF=\"http://n.example/\">ti\0tle</A>"
                        "<A \0HREF=\"http://hidden.example/\">hidden</A>"
                        "<A HREF=\"http://a\0b\">ab</A>";
    auto links = Scan(std::string(html, sizeof html - 1));
    ASSERT_EQ(links.size(), 2u);
    ExpectLink(links[0], "ti", "http://n.example/");
    // The NUL cuts the tag before its second double quote.
    ExpectLink(links[1], "ab", "");
}
