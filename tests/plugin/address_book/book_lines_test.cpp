// The byte rules of address-book lines and of the "AddressFile" list, for the
// cases a book read through the plug-in cannot reach or cannot tell apart.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugin/address_book/address_file_list.h"
#include "plugin/address_book/book_lines.h"

namespace {

BookLine Parse(const std::string& line) {
    return ParseBookLine(line.data(), line.size());
}

std::string Text(const BookSpan& span) {
    return std::string(span.begin, span.length);
}

std::vector<std::string> Fields(const std::string& value, std::vector<bool>* defaults) {
    std::vector<std::string> fields;
    size_t position = 0;
    AddressFileField field;
    while (NextAddressFileField(value.data(), value.size(), &position, &field)) {
        fields.emplace_back(field.begin, field.length);
        defaults->push_back(field.isDefaultBook);
    }
    return fields;
}

} // namespace

TEST(BookLines, KeywordsNeedTheirWholePrefix) {
    EXPECT_EQ(Parse("GROU").kind, BookLineSkip);
    EXPECT_EQ(Parse("End  group").kind, BookLineSkip);
    EXPECT_EQ(Parse("Separato:x").kind, BookLineEntry);
    // The first matching rule wins: a group labelled like a keyword.
    BookLine group = Parse("group Separator");
    EXPECT_EQ(group.kind, BookLineGroup);
    EXPECT_EQ(Text(group.label), "Separator");
}

TEST(BookLines, EntryNeedsAColonAndOneMoreByte) {
    for (const char* line : {"Taro", "Taro:", ":", ":::", "::x", "\r"})
        EXPECT_EQ(Parse(line).kind, BookLineSkip) << line;
    BookLine blanks = Parse("Taro: ");
    EXPECT_EQ(blanks.kind, BookLineEntry);
    EXPECT_EQ(Text(blanks.text), "");
    // 0x5C, the second byte of this Shift-JIS character, is no special byte.
    BookLine sjis = Parse("表:\\\\server");
    EXPECT_EQ(Text(sjis.label), "表");
    EXPECT_EQ(Text(sjis.text), "\\\\server");
}

TEST(BookLines, LinesAreCutAtACarriageReturnAfterOtherBytes) {
    struct {
        std::string line;
        size_t kept;
    } cases[] = {{"", 0},     {"abc", 3},       {"abc\rdef\r", 3}, {"\r", 1},
                 {"\r\r", 2}, {"\r\rab\rc", 4}, {"a\r\r", 1}};
    for (const auto& c : cases)
        EXPECT_EQ(BookLineCutLength(c.line.data(), c.line.size()), c.kept) << c.line;
}

TEST(AddressFileList, NonEmptyFieldsAsTheyAre) {
    std::vector<bool> defaults;
    EXPECT_EQ(Fields(";;a;;*rest; * ;", &defaults),
              (std::vector<std::string>{"a", "*rest", " * "}));
    EXPECT_EQ(defaults, (std::vector<bool>{false, true, false}));
    EXPECT_TRUE(Fields("", &defaults).empty());
    EXPECT_TRUE(Fields(";;;", &defaults).empty());
}
