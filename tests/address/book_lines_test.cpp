// The byte rules of address-book lines and of the "AddressFile" list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugin/address_file_list.h"
#include "plugin/book_lines.h"

namespace {

BookLine Parse(const std::string& line) {
    return ParseBookLine(line.data(), line.size());
}

std::string Text(const BookSpan& span) {
    return std::string(span.begin, span.length);
}

void ExpectEntry(const std::string& line, const std::string& label, const std::string& text) {
    BookLine parsed = Parse(line);
    ASSERT_EQ(parsed.kind, BookLineEntry) << line;
    EXPECT_EQ(Text(parsed.label), label) << line;
    EXPECT_EQ(Text(parsed.text), text) << line;
}

void ExpectGroup(const std::string& line, const std::string& label) {
    BookLine parsed = Parse(line);
    ASSERT_EQ(parsed.kind, BookLineGroup) << line;
    EXPECT_EQ(Text(parsed.label), label) << line;
}

std::vector<std::string> Fields(const std::string& value, std::vector<bool>* defaults = nullptr) {
    std::vector<std::string> fields;
    size_t position = 0;
    AddressFileField field;
    while (NextAddressFileField(value.data(), value.size(), &position, &field)) {
        fields.emplace_back(field.begin, field.length);
        if (defaults)
            defaults->push_back(field.isDefaultBook);
    }
    return fields;
}

} // namespace

TEST(BookLines, CommentsAndBlankLinesAreSkipped) {
    for (const char* line : {"", "   ", "\t \t", "#", "# note: x", "  #GROUP x", "\r", "\r\r"})
        EXPECT_EQ(Parse(line).kind, BookLineSkip) << "[" << line << "]";
}

TEST(BookLines, GroupKeywordComparesFiveBytesInAnyCase) {
    ExpectGroup("GROUP Friends", "Friends");
    ExpectGroup("group  Family", "Family");
    ExpectGroup("\t GrOuP\t x y ", "x y ");
    ExpectGroup("GROUP", "");
    ExpectGroup("Groupware:x", "ware:x");
    // "Group" is tested first, so a group whose label looks like a keyword
    // is still a group.
    ExpectGroup("group Separator", "Separator");
    EXPECT_EQ(Parse("GROU").kind, BookLineSkip);
    ExpectEntry("GROU:x", "GROU", "x");
}

TEST(BookLines, SeparatorAndEndGroupCompareNineBytes) {
    for (const char* line : {"Separator", "SEPARATORS", "  separator: not a text"})
        EXPECT_EQ(Parse(line).kind, BookLineSeparator) << line;
    for (const char* line : {"End group", "END GROUP", "end groupies", " \tEnd Group:x"})
        EXPECT_EQ(Parse(line).kind, BookLineEndGroup) << line;
    // Two blanks between the words, or a short keyword, make an entry line.
    EXPECT_EQ(Parse("End  group").kind, BookLineSkip);
    ExpectEntry("Separato:x", "Separato", "x");
    ExpectEntry("End grou:p", "End grou", "p");
}

TEST(BookLines, EntrySplitsAtTheFirstColonAfterLeadingColons) {
    ExpectEntry("Taro:  abc", "Taro", "abc");
    ExpectEntry("a:b:c", "a", "b:c");
    ExpectEntry("::x:y", "x", "y");
    ExpectEntry("  Hanako :\t taro@example.jp  ", "Hanako ", "taro@example.jp  ");
    // A colon followed by blanks only is an entry that inserts nothing.
    ExpectEntry("Taro:   ", "Taro", "");
    ExpectEntry("山田 太郎:yamada@example.jp", "山田 太郎", "yamada@example.jp");
    // 0x5C is the second byte of this Shift-JIS character; it passes through.
    ExpectEntry("表:\\\\server", "表", "\\\\server");
}

TEST(BookLines, EntryWithoutColonAndTextIsSkipped) {
    for (const char* line : {"Taro", "Taro:", ":", ":::", "::x"})
        EXPECT_EQ(Parse(line).kind, BookLineSkip) << line;
}

TEST(BookLines, LinesAreCutAtACarriageReturnAfterOtherBytes) {
    struct {
        std::string line;
        size_t kept;
    } cases[] = {{"", 0},   {"abc", 3},  {"abc\r", 3},     {"abc\rdef\r", 3},
                 {"\r", 1}, {"\r\r", 2}, {"\r\rab\rc", 4}, {"a\r\r", 1}};
    for (const auto& c : cases)
        EXPECT_EQ(BookLineCutLength(c.line.data(), c.line.size()), c.kept) << c.line;
}

TEST(AddressFileList, FieldsInOrderWithoutEmptyOnes) {
    std::vector<bool> defaults;
    EXPECT_EQ(Fields("*", &defaults), std::vector<std::string>{"*"});
    EXPECT_EQ(defaults, std::vector<bool>{true});
    defaults.clear();
    EXPECT_EQ(Fields("*;second.txt", &defaults), (std::vector<std::string>{"*", "second.txt"}));
    EXPECT_EQ(defaults, (std::vector<bool>{true, false}));
    EXPECT_EQ(Fields(";;a;;b;"), (std::vector<std::string>{"a", "b"}));
    // Blanks stay; only the first byte decides the default book.
    defaults.clear();
    EXPECT_EQ(Fields(" a ;*rest; *", &defaults), (std::vector<std::string>{" a ", "*rest", " *"}));
    EXPECT_EQ(defaults, (std::vector<bool>{false, true, false}));
    EXPECT_TRUE(Fields("").empty());
    EXPECT_TRUE(Fields(";;;").empty());
}
