// The picker's matching on a menu of Japanese and Latin titles and texts:
// which entries a query finds, in which order, and the folding of case, width
// and kana that makes differently typed words meet.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugin/picker/picker_match.h"

namespace {

struct Entry {
    DWORD depth;
    const char* title;
    const char* text; // null: a submenu
};

const Entry kMenu[] = {
    {0, "ポータル", "ニュースとブログ"},
    {0, "Google 検索", "https://www.google.co.jp/"},
    {0, "ニュース", nullptr},
    {1, "ＮＨＫ ニュース", "https://www3.nhk.or.jp/news/"},
    {1, "Yahoo!ニュース", "https://news.yahoo.co.jp/"},
    {0, "署名", nullptr},
    {1, "仕事用", "山田 太郎\r\nOstrel 株式会社"},
    {1, "ｶﾀｶﾅ", nullptr},
    {2, "さくら", "ｻｸﾗｲﾝﾀｰﾈｯﾄ"},
    {0, "がっこう", "school"},
    {0, "メモ", "google docs"},
};

class PickerMatch : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const Entry& e : kMenu)
            entries_.push_back({const_cast<char*>(e.title), const_cast<char*>(e.text), e.depth});
        snapshot_.entries = entries_.data();
        snapshot_.count = static_cast<DWORD>(entries_.size());
        snapshot_.capacity = snapshot_.count;
        ASSERT_TRUE(BuildPickerIndex(&snapshot_, 0xFFFFFFFF, &index_));
    }
    void TearDown() override { FreePickerIndex(&index_); }

    // The titles found for a query given in Shift-JIS, in the order shown.
    std::string Find(const std::string& query) const {
        WCHAR wide[1024] = {};
        MultiByteToWideChar(932, 0, query.c_str(), -1, wide, 1024);
        std::vector<DWORD> order(index_.count);
        DWORD found = FilterPickerEntries(&index_, wide, order.data());
        std::string titles;
        for (DWORD i = 0; i < found; ++i) {
            EXPECT_EQ(index_.entries[order[i]], EntryAt(order[i]))
                << "a row's position is its data value";
            titles += (i ? "|" : "") + std::string(entries_[index_.entries[order[i]]].title);
        }
        return titles;
    }
    // The snapshot index of the text entry with this data value.
    DWORD EntryAt(DWORD data) const {
        for (DWORD i = 0; i < snapshot_.count; ++i)
            if (entries_[i].text && data-- == 0)
                return i;
        return 0xFFFFFFFF;
    }

    std::vector<SnapshotEntry> entries_;
    MenuSnapshot snapshot_ = {};
    PickerIndex index_ = {};
};

std::string Repeat(const std::string& word, int times) {
    std::string words;
    for (int i = 0; i < times; ++i)
        words += word;
    return words;
}

TEST_F(PickerMatch, QueriesFindEntriesTitleMatchesFirst) {
    struct Case {
        std::string query;
        const char* titles;
    } cases[] = {
        // Nothing typed: every text entry, in menu order.
        {"", "ポータル|Google 検索|ＮＨＫ ニュース|Yahoo!ニュース|仕事用|さくら|がっこう|メモ"},
        {"   ", "ポータル|Google 検索|ＮＨＫ ニュース|Yahoo!ニュース|仕事用|さくら|がっこう|メモ"},
        // Titles that hold the word come before entries whose text alone does,
        // even when those are earlier in the menu.
        {"google", "Google 検索|メモ"},
        {"ニュース", "ＮＨＫ ニュース|Yahoo!ニュース|ポータル"},
        // ASCII and full-width letters, in either case.
        {"GOOGLE", "Google 検索|メモ"},
        {"ｇｏｏｇＬＥ", "Google 検索|メモ"},
        {"nhk", "ＮＨＫ ニュース"},
        // Hiragana and katakana, full and half width, sound marks and small kana.
        {"にゅーす", "ＮＨＫ ニュース|Yahoo!ニュース|ポータル"},
        {"サクラ", "さくら"},
        {"ｻｸﾗ", "さくら"},
        {"ガッコウ", "がっこう"},
        {"ｶﾞｯｺｳ", "がっこう"},
        // Words in the text, and in the names of the submenus an entry is in.
        {"太郎", "仕事用"},
        {"かたかな", "さくら"},
        {"署名 ｶﾀｶﾅ", "さくら"},
        // Every word must occur somewhere; blanks of either width separate them.
        {"news yahoo", "Yahoo!ニュース"},
        {"google　メモ", "メモ"},
        {"  google   docs ", "メモ"},
        {"google nhk", ""},
        {"xyz", ""},
        // 32 words are kept, each ended, and the words after them are ignored.
        {Repeat("yahoo ", 32), "Yahoo!ニュース"},
        {Repeat("google ", 32) + "xyz", "Google 検索|メモ"},
        {Repeat("nhk　", 40), "ＮＨＫ ニュース"},
        {Repeat("google ", 31) + "xyz google", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Find(c.query), c.titles) << "query \"" << c.query << "\"";
}

TEST_F(PickerMatch, ListsOnlyEntriesThatHaveADataValue) {
    // A build that ran out of memory numbered only its first entries.
    FreePickerIndex(&index_);
    ASSERT_TRUE(BuildPickerIndex(&snapshot_, 3, &index_));
    EXPECT_EQ(index_.count, 3u);
    EXPECT_EQ(Find(""), "ポータル|Google 検索|ＮＨＫ ニュース");
    EXPECT_EQ(Find("ニュース"), "ＮＨＫ ニュース|ポータル");
}

TEST(PickerFold, FoldsCaseWidthAndKanaIntoOneForm) {
    struct Case {
        const wchar_t* a;
        const wchar_t* b;
    } same[] = {
        {L"ABCxyz", L"abcXYZ"}, {L"ＡＢＣ", L"abc"}, {L"ｱｲｳ", L"あいう"}, {L"ｶﾞｷﾞｸﾞ", L"がぎぐ"},
        {L"ﾊﾟﾋﾟ", L"ぱぴ"},     {L"ッャ", L"っゃ"},  {L"ヴ", L"ｳﾞ"},      {L"123", L"１２３"},
    };
    for (const Case& c : same) {
        WCHAR a[64], b[64];
        ASSERT_GE(FoldForMatch(c.a, -1, a, 64), 0);
        ASSERT_GE(FoldForMatch(c.b, -1, b, 64), 0);
        EXPECT_STREQ(reinterpret_cast<const wchar_t*>(a), reinterpret_cast<const wchar_t*>(b));
    }
    WCHAR small[4];
    EXPECT_EQ(FoldForMatch(L"abcdef", -1, small, 4), -1) << "a fold that does not fit";
}

} // namespace
