// The title proposed from an HTML file's TITLE element, fed line by line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/imports/html/html_title.h"

namespace {
// Feeds lines until the scanner is done; returns the title and how many lines
// it took.
std::string TitleOf(const std::vector<std::string>& lines, size_t* linesRead = nullptr) {
    HtmlTitleScanner scanner;
    size_t count = 0;
    for (const std::string& line : lines) {
        ++count;
        if (scanner.AddLine(line))
            break;
    }
    if (linesRead)
        *linesRead = count;
    return scanner.Title();
}
} // namespace

TEST(HtmlTitle, SameLineInAnyLetterCase) {
    size_t read = 0;
    EXPECT_EQ(
        TitleOf({"<HTML><HEAD>", "<title>My Bookmarks</Title></HEAD>", "<TITLE>x</TITLE>"}, &read),
        "My Bookmarks");
    EXPECT_EQ(read, 2u);
    EXPECT_EQ(TitleOf({"<TiTlE>  spaced  </tItLe>"}), "  spaced  ");
}

TEST(HtmlTitle, SpreadOverThreeLinesIsJoinedWithoutSeparators) {
    EXPECT_EQ(TitleOf({"<HEAD><TITLE>Book", "marks of ", "Ostrel</TITLE>", "<H1>x</H1>"}),
              "Bookmarks of Ostrel");
}

TEST(HtmlTitle, AbsentOrUnclosedTitle) {
    EXPECT_EQ(TitleOf({"<HTML>", "<H1>Bookmarks</H1>", "</HTML>"}), "");
    EXPECT_EQ(TitleOf({}), "");
    EXPECT_EQ(TitleOf({"<TITLE>open", "to the end"}), "opento the end");
    EXPECT_EQ(TitleOf({"<TITLE>"}), "");
}

TEST(HtmlTitle, ALaterOpeningTagStartsTheTitleAfresh) {
    EXPECT_EQ(TitleOf({"<TITLE>first", "<TITLE>second</TITLE>"}), "second");
}

TEST(HtmlTitle, ShiftJisTitleIsKeptByteForByte) {
    // Katakana whose second bytes read as lower-case letters ("ブ" 0x83 0x75),
    // and "表" whose second byte is a backslash.
    EXPECT_EQ(TitleOf({"<TITLE>ブックマーク表</TITLE>"}), "ブックマーク表");
    // 0x82 0x74 is a double-byte character whose second byte reads "t": it
    // must be neither upper-cased in the copy nor taken as part of a tag.
    const std::string letterSecondByte = "\x82\x74\x82\x69tle\x82\x74";
    EXPECT_EQ(TitleOf({"<title>" + letterSecondByte + "</title>"}), letterSecondByte);
}

TEST(HtmlTitle, TagHiddenBehindALeadByteIsNotFound) {
    // The lead byte 0x81 takes the "<" after it, so no "<TITLE>" starts at a
    // character boundary here.
    EXPECT_EQ(TitleOf({"\x81<TITLE>no</TITLE>"}), "");
    // A lead byte at the end of one line pairs with the start of the next in
    // the joined title, hiding that "<".
    EXPECT_EQ(TitleOf({"<TITLE>a\x81", "</TITLE>b</TITLE>"}), "a\x81</TITLE>b");
}

TEST(HtmlTitle, NulByteEndsTheLine) {
    EXPECT_EQ(TitleOf({std::string("<TITLE>ab\0cd</TITLE>", 20), "ef</TITLE>"}), "abef");
    EXPECT_EQ(TitleOf({std::string("x\0<TITLE>hidden</TITLE>", 23)}), "");
}
