// Line reading of address books from files and pipes: the rules of reading a
// byte at a time, kept by the block-buffered reader.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdlib.h>
#include <string>
#include <vector>

#include "plugin/address_book/book_reader.h"

namespace {

// A file in the test's folder holding bytes, opened for reading.
class BookFile {
  public:
    explicit BookFile(const std::string& bytes) {
        HANDLE out = CreateFileA(kName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(out);
        EXPECT_EQ(written, bytes.size());
        handle_ = CreateFileA(kName, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
        EXPECT_NE(handle_, INVALID_HANDLE_VALUE);
    }
    ~BookFile() {
        CloseHandle(handle_);
        DeleteFileA(kName);
    }
    HANDLE handle() const { return handle_; }

  private:
    static constexpr const char* kName = "book.txt";
    HANDLE handle_;
};

// Every line the reader returns until it returns none; then checks that it
// keeps returning none.
std::vector<std::string> ReadAll(HANDLE handle) {
    BookReader reader;
    BookReaderInit(&reader, handle);
    std::vector<std::string> lines;
    while (char* line = ReadBookLine(&reader)) {
        lines.emplace_back(line);
        free(line);
    }
    EXPECT_EQ(ReadBookLine(&reader), nullptr);
    BookReaderRelease(&reader);
    return lines;
}

std::vector<std::string> ReadAll(const std::string& bytes) {
    BookFile file(bytes);
    return ReadAll(file.handle());
}

typedef std::vector<std::string> Lines;

} // namespace

TEST(BookReader, LinesAsReadByteByByte) {
    // Leading blanks go, the line feed ends the line, a carriage return after
    // other bytes cuts it, and an unfinished last line is dropped.
    EXPECT_EQ(ReadAll("  a b \n\t\tc\n\n   \nd:e\r\n \r\nf\rjunk\r\nlast"),
              (Lines{"a b ", "c", "", "", "d:e", "\r", "f"}));
    EXPECT_TRUE(ReadAll("").empty());
    EXPECT_TRUE(ReadAll("   ").empty());
}

TEST(BookReader, LinesHaveNoLengthLimit) {
    std::string longLine(1024 * 5 + 7, 'x');
    std::string huge(300 * 1024, 'y'); // spans several read-ahead blocks
    huge[0] = 'z';
    huge.back() = 'w';
    EXPECT_EQ(ReadAll(longLine + "\n" + huge + "\nend\n"), (Lines{longLine, huge, "end"}));
    EXPECT_EQ(ReadAll(std::string(1023, 'a') + "\n" + std::string(1024, 'b') + "\n"),
              (Lines{std::string(1023, 'a'), std::string(1024, 'b')}));
}

TEST(BookReader, LinesAcrossBlockBoundaries) {
    // Lines of every length from 0 to 299 with leading blanks, repeated past
    // a few read-ahead blocks, so that every split of a line by a block
    // boundary (in its blanks, its bytes or its CR LF) comes up.
    std::string bytes;
    Lines expected;
    for (int round = 0; bytes.size() < 400 * 1024; ++round) {
        for (int length = 0; length < 300; ++length) {
            std::string line(length, static_cast<char>('a' + (length + round) % 26));
            bytes += std::string(round % 3, ' ') + line + (length % 2 ? "\r\n" : "\n");
            expected.push_back(line);
        }
    }
    EXPECT_EQ(ReadAll(bytes), expected);
}

TEST(BookReader, ReadErrorEndsTheFile) {
    // A pipe whose writer goes away: the reads return the data, then fail.
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
    const char bytes[] = "a:1\nb:2\nunfinished";
    DWORD written = 0;
    WriteFile(writeEnd, bytes, sizeof bytes - 1, &written, nullptr);
    CloseHandle(writeEnd);
    EXPECT_EQ(ReadAll(readEnd), (Lines{"a:1", "b:2"}));
    CloseHandle(readEnd);

    // A handle that cannot read at all.
    HANDLE writeOnly = CreateFileA("write-only.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writeOnly, INVALID_HANDLE_VALUE);
    WriteFile(writeOnly, "a:1\n", 4, &written, nullptr);
    SetFilePointer(writeOnly, 0, nullptr, FILE_BEGIN);
    EXPECT_TRUE(ReadAll(writeOnly).empty());
    CloseHandle(writeOnly);
    DeleteFileA("write-only.txt");
}

TEST(BookReader, StopDropsTheRestOfTheFile) {
    BookFile file("a\nb\nc\n");
    BookReader reader;
    BookReaderInit(&reader, file.handle());
    char* first = ReadBookLine(&reader);
    ASSERT_NE(first, nullptr);
    EXPECT_STREQ(first, "a");
    free(first);
    BookReaderStop(&reader);
    EXPECT_EQ(ReadBookLine(&reader), nullptr);
    BookReaderRelease(&reader);
}

TEST(BookReader, LargeBookIsReadQuickly) {
    // Four megabytes of entries; read a byte per system call this takes
    // seconds under Wine, read in blocks a few milliseconds.
    std::string bytes;
    while (bytes.size() < 4 * 1024 * 1024)
        bytes += "Yamada Taro:yamada.taro@example.jp\r\n";
    BookFile file(bytes);
    DWORD start = GetTickCount();
    size_t count = ReadAll(file.handle()).size();
    DWORD elapsed = GetTickCount() - start;
    EXPECT_EQ(count, bytes.size() / 36);
    EXPECT_LT(elapsed, 1500u);
}
