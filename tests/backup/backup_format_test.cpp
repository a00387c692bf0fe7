// The backup file's reader and writer, and the text conversion between the
// menu's Shift-JIS and the file's UTF-8. Narrow literals here are Shift-JIS;
// u8 literals are UTF-8, as the file holds them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/backup/backup_text.h"
#include "settings/backup/menu_backup_format.h"

namespace {
std::string Doc(const std::string& menu, const std::string& head = "\"format\":\"Tevrix menu\","
                                                                   "\"version\":1,") {
    return "{" + head + "\"menu\":" + menu + "}";
}

BackupError Read(const std::string& bytes, std::vector<BackupEntry>* entries = nullptr) {
    std::vector<BackupEntry> read;
    BackupError error = ReadMenuBackup(bytes.data(), bytes.size(), read);
    if (entries)
        *entries = read;
    return error;
}

// A chain of submenus levels deep, the last one empty.
std::string Chain(int levels) {
    std::string open, close;
    for (int i = 0; i < levels; ++i) {
        open += "[{\"submenu\":";
        close = "}]" + close;
    }
    return Doc(open + "[]" + close);
}

std::string Describe(const std::vector<BackupEntry>& entries) {
    std::string text;
    for (const BackupEntry& e : entries)
        text += std::to_string(e.depth) + (e.submenu ? "{" : "=") + e.title + ":" + e.text + ";";
    return text;
}
} // namespace

TEST(BackupFormat, RefusesEachKindOfBadFileWithItsReason) {
    const struct {
        std::string bytes;
        BackupError expected;
    } cases[] = {
        {"", BackupError::kNotJson},
        {"Tevrix menu", BackupError::kNotJson},
        {Doc("[{\"title\":\"a\",\"text\":\"b\"}]").substr(0, 40), BackupError::kNotJson},
        {Doc("[]") + "{}", BackupError::kNotJson},
        // Shift-JIS where UTF-8 belongs, an overlong slash, an encoded surrogate.
        {Doc("[{\"title\":\"日本\"}]"), BackupError::kInvalidUtf8},
        {Doc("[{\"title\":\"\xC0\xAF\"}]"), BackupError::kInvalidUtf8},
        {Doc("[{\"title\":\"\xED\xA0\x80\"}]"), BackupError::kInvalidUtf8},
        {"[]", BackupError::kOtherFormat},
        {Doc("[]", "\"format\":\"Other\",\"version\":1,"), BackupError::kOtherFormat},
        {Doc("[]", "\"version\":1,"), BackupError::kOtherFormat},
        // A later version may hold what this one cannot read.
        {Doc("[{\"separator\":{}}]", "\"format\":\"Tevrix menu\",\"version\":2,"),
         BackupError::kNewerVersion},
        {Doc("[]", "\"format\":\"Tevrix menu\","), BackupError::kBadMenu},
        {Doc("[]", "\"format\":\"Tevrix menu\",\"version\":0,"), BackupError::kBadMenu},
        {Doc("[]", "\"format\":\"Tevrix menu\",\"version\":\"1\","), BackupError::kBadMenu},
        {"{\"format\":\"Tevrix menu\",\"version\":1}", BackupError::kBadMenu},
        {Doc("{}"), BackupError::kBadMenu},
        {Doc("[\"entry\"]"), BackupError::kBadMenu},
        {Doc("[{\"title\":1}]"), BackupError::kBadMenu},
        {Doc("[{\"title\":\"a\",\"text\":\"b\",\"submenu\":[]}]"), BackupError::kBadMenu},
        {Doc("[{\"title\":\"a\",\"submenu\":\"b\"}]"), BackupError::kBadMenu},
        {Doc("[{\"title\":\"a\",\"title\":\"b\"}]"), BackupError::kBadMenu},
        {Chain(kMaxBackupLevels + 1), BackupError::kTooDeep},
        // Far deeper than any stack would survive a recursive walk of.
        {std::string(1000000, '['), BackupError::kTooDeep},
        {Doc("[{\"x\":" + std::string(100000, '[')), BackupError::kTooDeep},
    };
    for (const auto& c : cases) {
        std::vector<BackupEntry> entries{BackupEntry()};
        EXPECT_EQ(Read(c.bytes, &entries), c.expected) << c.bytes.substr(0, 80);
        EXPECT_TRUE(entries.empty());
    }
}

TEST(BackupFormat, ReadsWhatHandWrittenFilesMayHold) {
    std::vector<BackupEntry> entries;
    // A byte order mark, members in any order, unknown members, missing
    // title and text, and the deepest level the editor takes.
    ASSERT_EQ(
        Read("\xEF\xBB\xBF" + Doc(u8"[{\"submenu\":[{\"text\":\"x\",\"note\":[1,{}]}],"
                                  u8"\"title\":\"リンク\"},{},{\"title\":\"\",\"text\":\"\"}]",
                                  "\"version\":1,\"comment\":null,"
                                  "\"format\":\"Tevrix menu\","),
             &entries),
        BackupError::kNone);
    EXPECT_EQ(Describe(entries), std::string(u8"0{リンク:;1=:x;0=:;0=:;"));
    ASSERT_EQ(Read(Chain(kMaxBackupLevels), &entries), BackupError::kNone);
    ASSERT_EQ(entries.size(), static_cast<size_t>(kMaxBackupLevels));
    EXPECT_EQ(entries.back().depth, kMaxBackupLevels - 1);
}

TEST(BackupFormat, WritesTheDocumentedLayoutAndReadsItBack) {
    std::vector<BackupEntry> entries = {
        {0, true, u8"リンク", ""},
        {1, false, "Site", "http://example.jp/"},
        {1, true, u8"空", ""},
        {0, false, u8"署名", u8"山田\r\n\"太郎\"\t\\"},
        {0, false, "", std::string(5000, 'x')},
    };
    std::string file = WriteMenuBackup(entries);
    std::vector<BackupEntry> again;
    ASSERT_EQ(Read(file, &again), BackupError::kNone);
    EXPECT_EQ(Describe(again), Describe(entries));
    std::string head = u8"{\r\n  \"format\": \"Tevrix menu\",\r\n  \"version\": 1,\r\n"
                       u8"  \"menu\": [\r\n    {\r\n      \"title\": \"リンク\",\r\n"
                       u8"      \"submenu\": [\r\n";
    EXPECT_EQ(file.substr(0, head.size()), head);
    EXPECT_NE(file.find(u8"\"text\": \"山田\\r\\n\\\"太郎\\\"\\t\\\\\""), std::string::npos);
}

TEST(BackupText, ShiftJisToUtf8KeepsEveryCharacterAndMarksStrayBytes) {
    const struct {
        std::string shiftJis;
        std::string utf8;
        int unconvertible;
    } cases[] = {
        {"日本語\r\nｶﾀｶﾅ ～ ①", u8"日本語\r\nｶﾀｶﾅ ～ ①", 0},
        {"", "", 0},
        {"a\x82", "a?", 1},         // a lead byte at the very end
        {"a\x81 b", "a? b", 1},     // a lead byte before a byte that ends no pair
        {"\xA0\xFD\xFF", "???", 3}, // bytes that start no character
        {"\x85\x40", "?@", 1},      // an unassigned pair: its second byte stands alone
    };
    for (const auto& c : cases) {
        int count = 0;
        EXPECT_EQ(Cp932ToUtf8(c.shiftJis, count), c.utf8) << c.shiftJis;
        EXPECT_EQ(count, c.unconvertible) << c.shiftJis;
    }
}

TEST(BackupText, Utf8ToShiftJisReplacesWhatShiftJisLacksOneQuestionMarkEach) {
    const struct {
        std::string utf8;
        std::string shiftJis;
        int replaced;
    } cases[] = {
        {u8"日本語\r\nｶﾀｶﾅ ～ ①", "日本語\r\nｶﾀｶﾅ ～ ①", 0},
        {u8"a😀b", "a?b", 1},                 // beyond the BMP: one '?', not two
        {u8"\u00A5100 \u00E9", "?100 ?", 2}, // no look-alike stands in
        {std::string("a\0b", 3), "a?b", 1},  // a menu string holds no NUL
        {u8"한국어", "???", 3},
    };
    for (const auto& c : cases) {
        int count = 0;
        EXPECT_EQ(Utf8ToCp932(c.utf8, count), c.shiftJis) << c.utf8;
        EXPECT_EQ(count, c.replaced) << c.utf8;
    }
}
