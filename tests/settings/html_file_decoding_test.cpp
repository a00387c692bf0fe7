// An HTML file read through the encoding it declares: the conversion of whole
// files block by block, of titles and addresses to Shift-JIS, and the title
// proposal's cost.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "settings/imports/html/decoded_html_file.h"
#include "settings/imports/html/html_file_title.h"
#include "settings/imports/html/html_links.h"
#include "settings/imports/html/shift_jis_text.h"
#include "temp_folder.h"

namespace {
// "title=address|..." of a file's links, in Shift-JIS as the import stores them.
std::string ImportedLinks(const std::string& path) {
    DecodedHtmlFile file;
    if (!file.Open(path.c_str()))
        return "(not opened)";
    std::string description;
    for (const HtmlLink& link : ScanHtmlLinks(file))
        description += (description.empty() ? "" : "|") + TitleToShiftJis(link.title) + "=" +
                       AddressToShiftJis(link.address);
    return description;
}

std::wstring Wide(const std::string& utf8) {
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                    &wide[0], static_cast<int>(wide.size())));
    return wide;
}

// UTF-8 text in another code page (932, 20932, 1252).
std::string Encode(const std::string& utf8, UINT codePage) {
    std::wstring wide = Wide(utf8);
    std::string bytes(wide.size() * 3, '\0');
    bytes.resize(WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                     &bytes[0], static_cast<int>(bytes.size()), nullptr, nullptr));
    return bytes;
}

std::string Utf16(const std::string& utf8, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t c : Wide(utf8)) {
        char low = static_cast<char>(c & 0xFF), high = static_cast<char>(c >> 8);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}
} // namespace

TEST(HtmlTextToShiftJis, TitlesGetQuestionMarksAddressesPercentEncoding) {
    const struct {
        const char* utf8;
        const char* title;
        const char* address;
    } cases[] = {
        {u8"http://a.example/日本", "http://a.example/日本", "http://a.example/日本"},
        {u8"caf\u00e9 \u00a5 \u00a9", "caf? ? ?", "caf%C3%A9 %C2%A5 %C2%A9"},
        {u8"x\U0001F600y", "x?y", "x%F0%9F%98%80y"},
        // Forms that Unicode text gives these characters, and Shift-JIS's own.
        {u8"\u301c\uff5e\u2016\u2212\u2014\u00a2\u00a3\u00ac", "～～‖－―￠￡￢",
         "%E3%80%9C～%E2%80%96%E2%88%92%E2%80%94%C2%A2%C2%A3%C2%AC"},
        {u8"\u2460\u3231\u00b1?", "①㈱±?", "①㈱±?"},
        {u8"ｶﾀｶﾅ\ufffd", "ｶﾀｶﾅ?", "ｶﾀｶﾅ%EF%BF%BD"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TitleToShiftJis(c.utf8), c.title) << c.utf8;
        EXPECT_EQ(AddressToShiftJis(c.utf8), c.address) << c.utf8;
    }
}

TEST(HtmlFileDecoding, EveryEncodingIsReadAcrossBlockBoundaries) {
    TempFolder folder;
    // Japanese filler puts characters of two and three bytes across every
    // 64 KiB boundary of the file; a link stands after each boundary.
    std::string page = u8"<meta charset=\"$\"><title>長い ページ</title>";
    for (int block = 1; block <= 3; ++block) {
        for (int i = 0; i < 9000; ++i)
            page += u8"日本語ｶﾅ";
        page += u8"<a href=\"http://" + std::to_string(block) + u8".example/表\">リンク" +
                std::to_string(block) + "</a>";
    }
    const std::string expected = "リンク1=http://1.example/表|リンク2=http://2.example/表|"
                                 "リンク3=http://3.example/表";
    auto declared = [&](const std::string& label) {
        std::string text = page;
        text.replace(text.find('$'), 1, label);
        return text;
    };
    const struct {
        const char* name;
        std::string bytes;
    } files[] = {
        {"utf8.html", declared("utf-8")},
        {"bom.html", "\xEF\xBB\xBF" + declared("shift_jis")},
        {"sjis.html", Encode(declared("Shift_JIS"), 932)},
        {"undeclared.html", Encode(declared("none"), 932)},
        {"eucjp.html", Encode(declared("EUC-JP"), 20932)},
        {"utf16le.html", Utf16(declared("utf-16"), false)},
        {"utf16be.html", Utf16(declared("utf-16"), true)},
    };
    for (const auto& file : files) {
        std::string path = folder.WriteFile(file.name, file.bytes);
        EXPECT_EQ(ImportedLinks(path), expected) << file.name;
        std::string title;
        EXPECT_TRUE(ReadHtmlFileTitle(path.c_str(), title));
        EXPECT_EQ(title, "長い ページ") << file.name;
    }
}

// A file that declares nothing is judged by all of its bytes: the English
// titles of this export fill its first 64 KiB, its Japanese one comes after.
TEST(HtmlFileDecoding, AnUndeclaredFileIsJudgedByAllItsBytes) {
    TempFolder folder;
    std::string english;
    for (int i = 0; english.size() < 70 * 1024; ++i)
        english += "<a href=\"http://e" + std::to_string(i) + ".example/\">News</a>\n";
    const std::string late = u8"<a href=\"http://j.example/\">日本語のページ</a>";
    for (UINT codePage : {20932u, 65001u, 932u}) {
        std::string path = folder.WriteFile("late.html", english + Encode(late, codePage));
        DecodedHtmlFile file;
        ASSERT_TRUE(file.Open(path.c_str()));
        EXPECT_EQ(file.CodePage(), codePage);
        std::vector<HtmlLink> links = ScanHtmlLinks(file);
        ASSERT_FALSE(links.empty());
        EXPECT_EQ(links.back().title, u8"日本語のページ") << codePage;
    }
}

TEST(HtmlFileDecoding, BytesThatFormNoCharacterNeverSwallowMarkup) {
    TempFolder folder;
    const struct {
        const char* name;
        std::string bytes;
        const char* expected;
    } files[] = {
        // A Shift-JIS lead byte right before the closing quote or "<".
        {"sjis.html",
         "<a href=\"http://a.example/\x81\">a\x82</a><a href=\"http://b.example/\">b</a>",
         "a?=http://a.example/%EF%BF%BD|b=http://b.example/"},
        {"eucjp.html",
         "<meta charset=euc-jp><a href=\"http://a.example/\">\xA4\xA2\x8F\xB0\xA1\xA4</a>"
         "<a href=\"http://b.example/\">\x8E</a>",
         "あ?\?=http://a.example/|?=http://b.example/"},
        {"utf8.html",
         "<meta charset=utf-8><a href=\"http://a.example/\">\xE3\x81</a>"
         "<a href=\"http://b.example/\">\xFF</a>",
         "?=http://a.example/|?=http://b.example/"},
        {"cut.html", "<meta charset=utf-8><a href=\"http://a.example/\">a\xE3\x81",
         "a?=http://a.example/"},
        {"latin1.html",
         "<meta charset=iso-8859-1><a href=\"http://a.example/\x93q\x94\">\x93q\x94</a>",
         "“q”=http://a.example/“q”"},
    };
    for (const auto& file : files)
        EXPECT_EQ(ImportedLinks(folder.WriteFile(file.name, file.bytes)), file.expected)
            << file.name;
    EXPECT_EQ(ImportedLinks(folder.PathOf("missing.html")), "(not opened)");
}

TEST(HtmlFileDecoding, AnUnclosedTitleInFiveMegabytesIsProposedAtOnce) {
    TempFolder folder;
    std::string text = "<html><head><title>" + std::string(5 * 1024 * 1024, 'x');
    std::string path = folder.WriteFile("unclosed.html", text);
    std::string title;
    DWORD start = GetTickCount();
    EXPECT_TRUE(ReadHtmlFileTitle(path.c_str(), title));
    DWORD elapsed = GetTickCount() - start;
    EXPECT_EQ(title, std::string(1024, 'x'));
    EXPECT_LT(elapsed, 250u) << "ms";
}

TEST(HtmlFileDecoding, EachDeclaredCharsetAndUndeclaredEucJpReadAsWritten) {
    TempFolder folder;
    const struct {
        const char* charset; // "" declares none
        const char* bytes;   // a link's text in that encoding
        const char* utf8;
    } cases[] = {
        {"x-mac-roman", "K\x8Ase", u8"K\u00e4se"},
        {"windows-1251", "\xCF\xF0\xE8", u8"\u041f\u0440\u0438"},
        {"koi8-r", "\xF0\xD2\xC9", u8"\u041f\u0440\u0438"},
        {"iso-8859-2", "\xB1", u8"\u0105"},
        {"iso-8859-7", "\xE1", u8"\u03b1"},
        {"windows-1254", "\xFD", u8"\u0131"},
        {"big5", "\xA4\xA4\xA4\xE5", u8"\u4e2d\u6587"},
        {"gb2312", "\xD6\xD0\xCE\xC4", u8"\u4e2d\u6587"},
        {"euc-kr", "\xC7\xD1\xB1\xDB", u8"\ud55c\uae00"},
        {"", "w3m \xA4\xCE\xA5\xDA\xA1\xBC\xA5\xB8", u8"w3m \u306e\u30da\u30fc\u30b8"},
        {"", "\x83\x79\x81\x5B\x83\x57", u8"\u30da\u30fc\u30b8"},
    };
    for (const auto& c : cases) {
        std::string text = *c.charset ? std::string("<meta charset=\"") + c.charset + "\">" : "";
        text += std::string("<a href=\"http://a.example/\">") + c.bytes + "</a>";
        std::string path = folder.WriteFile("charset.html", text);
        DecodedHtmlFile file;
        ASSERT_TRUE(file.Open(path.c_str()));
        std::vector<HtmlLink> links = ScanHtmlLinks(file);
        ASSERT_EQ(links.size(), 1u) << c.charset;
        EXPECT_EQ(links[0].title, c.utf8) << c.charset << " " << c.bytes;
    }
}
