// Reading files by lines in text mode and by bytes in binary mode.
#include <gtest/gtest.h>

#include "framework/stdio_file.h"

#include <string>
#include <vector>

namespace {
void WriteFile(const char* path, const std::string& bytes) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

std::vector<std::string> ReadLines(const char* path) {
    CStdioFile file;
    std::vector<std::string> lines;
    if (!file.Open(path, CStdioFile::modeRead | CStdioFile::typeText))
        return lines;
    std::string line;
    while (file.ReadString(line))
        lines.push_back(line);
    return lines;
}
} // namespace

TEST(StdioFile, TextModeReadsLinesWithoutTheirEnds) {
    WriteFile("lines.txt", "one\r\ntwo\n\r\nlone\rcr\r\nlast");
    EXPECT_EQ(ReadLines("lines.txt"),
              (std::vector<std::string>{"one", "two", "", "lone\rcr", "last"}));
    WriteFile("ending.txt", "a\r\nb\r\n");
    EXPECT_EQ(ReadLines("ending.txt"), (std::vector<std::string>{"a", "b"}));
    WriteFile("empty.txt", "");
    EXPECT_TRUE(ReadLines("empty.txt").empty());
}

TEST(StdioFile, LinesLongerThanTheBufferAndCrLfAcrossIt) {
    std::string longLine(10000, 'x');
    longLine[4094] = '\r';        // a lone CR as the last byte of a buffer stays
    std::string first(4095, 'y'); // its CR LF falls across the first boundary
    WriteFile("long.txt", first + "\r\n" + longLine + "\r\n<TITLE>題名</TITLE>");
    std::vector<std::string> lines = ReadLines("long.txt");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], first);
    EXPECT_EQ(lines[1], longLine);
    EXPECT_EQ(lines[2], "<TITLE>題名</TITLE>");
}

TEST(StdioFile, BinaryModeKeepsEveryByte) {
    WriteFile("bytes.bin", std::string("a\r\nb\0c", 6));
    CStdioFile file;
    ASSERT_TRUE(file.Open("bytes.bin", CStdioFile::modeRead | CStdioFile::typeBinary));
    char buffer[16];
    EXPECT_EQ(file.Read(buffer, 4), 4u);
    EXPECT_EQ(std::string(buffer, 4), "a\r\nb");
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 2u);
    EXPECT_EQ(std::string(buffer, 2), std::string("\0c", 2));
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);
}

TEST(StdioFile, MissingFileDoesNotOpen) {
    CStdioFile file;
    EXPECT_FALSE(file.Open("no such file.txt", CStdioFile::modeRead | CStdioFile::typeText));
    std::string line = "kept";
    EXPECT_FALSE(file.ReadString(line));
    EXPECT_EQ(file.Read(&line[0], 1), 0u);
}
