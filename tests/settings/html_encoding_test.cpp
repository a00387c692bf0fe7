// Finding an HTML file's encoding from its first bytes, and where a block of
// its bytes may be cut without cutting a character.
#include <gtest/gtest.h>

#include <string>

#include "settings/imports/html/charset_labels.h"
#include "settings/imports/html/html_encoding.h"

namespace {
struct EncodingCase {
    std::string start;
    HtmlEncoding expected;
    size_t byteOrderMark;
};

std::string Repeated(const std::string& text, int times) {
    std::string repeated;
    while (times-- > 0)
        repeated += text;
    return repeated;
}

const char* Name(HtmlEncoding encoding) {
    switch (encoding) {
    case HtmlEncoding::kShiftJis:
        return "Shift-JIS";
    case HtmlEncoding::kUtf8:
        return "UTF-8";
    case HtmlEncoding::kUtf16Le:
        return "UTF-16LE";
    case HtmlEncoding::kUtf16Be:
        return "UTF-16BE";
    case HtmlEncoding::kEucJp:
        return "EUC-JP";
    case HtmlEncoding::kSingleByte:
        return "single-byte";
    case HtmlEncoding::kDoubleByte:
        return "double-byte";
    case HtmlEncoding::kGb18030:
        return "gb18030";
    }
    return "?";
}
} // namespace

TEST(HtmlEncoding, ByteOrderMarkThenMetaThenUtf8ValidityElseShiftJis) {
    using E = HtmlEncoding;
    const std::string netscapeHead = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
                                     "<!-- This is an automatically generated file. -->\n";
    const EncodingCase cases[] = {
        {"\xEF\xBB\xBF<html>", E::kUtf8, 3},
        {"\xFF\xFE<\0h\0", E::kUtf16Le, 2},
        {"\xFE\xFF\0<\0h", E::kUtf16Be, 2},
        // A byte order mark wins over what the META says.
        {"\xEF\xBB\xBF<meta charset=\"Shift_JIS\">", E::kUtf8, 3},
        {netscapeHead + "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">",
         E::kUtf8, 0},
        {"<meta http-equiv=content-type content='text/html;charset=\"euc-jp\"'>", E::kEucJp, 0},
        {"<meta content=\"text/html; CHARSET = x-sjis\" http-equiv=\"Content-Type\">", E::kShiftJis,
         0},
        {"<head><meta charset=\" ISO-8859-1 \"><title>x</title>", E::kSingleByte, 0},
        {"<meta charset=us-ascii>", E::kSingleByte, 0},
        {"<meta charset=\"utf-16\">", E::kUtf8, 0},
        // An unknown label is passed over for the next META.
        {"<meta charset=\"x-klingon\"><meta charset=\"utf-8\">", E::kUtf8, 0},
        {"<meta http-equiv=\"refresh\" content=\"0; charset=utf-8\"><p>", E::kShiftJis, 0},
        // Where no META counts: comments, scripts, after the head.
        {"<!-- <meta charset=\"utf-8\"> --><p>", E::kShiftJis, 0},
        {"<script>'<meta charset=\"utf-8\">'</script>", E::kShiftJis, 0},
        {"<head></head><meta charset=\"utf-8\">", E::kShiftJis, 0},
        {"<body><meta charset=\"utf-8\">", E::kShiftJis, 0},
        // Without a declaration: UTF-8 when the bytes say so.
        {u8"<title>\u65e5\u672c\u8a9e</title>", E::kUtf8, 0},
        {"<title>\x93\xfa\x96\x7b\x8c\xea</title>", E::kShiftJis, 0},
        {"<title>plain ASCII</title>", E::kShiftJis, 0},
        {u8"<title>\u65e5\u672c", E::kUtf8, 0},
        {"<title>\xE6\x97", E::kShiftJis, 0}, // a cut character and nothing else
        {u8"<title>\u65e5\xE6\x97", E::kUtf8, 0},
        {"", E::kShiftJis, 0},
    };
    for (const EncodingCase& c : cases) {
        DetectedEncoding detected = DetectHtmlEncoding(c.start.data(), c.start.size());
        EXPECT_STREQ(Name(detected.encoding), Name(c.expected)) << c.start;
        EXPECT_EQ(detected.byteOrderMarkLength, c.byteOrderMark) << c.start;
    }
}

TEST(HtmlEncoding, AMetaFarIntoTheFileIsNotLookedFor) {
    std::string start = "<html><head><script>" + std::string(kEncodingPrescanBytes, ' ');
    start += "</script><meta charset=\"utf-8\">";
    DetectedEncoding detected = DetectHtmlEncoding(start.data(), kEncodingPrescanBytes);
    EXPECT_STREQ(Name(detected.encoding), "Shift-JIS");
}

TEST(HtmlEncoding, BlocksAreCutOnlyBetweenCharacters) {
    using E = HtmlEncoding;
    struct CutCase {
        HtmlEncoding encoding;
        std::string bytes;
        size_t complete;
    };
    const CutCase cases[] = {
        {E::kUtf8, "ab\xE3\x81\x82", 5},
        {E::kUtf8, "ab\xE3\x81", 2},
        {E::kUtf8, "ab\xF0\x9F\x98", 2},
        {E::kShiftJis, "a\x82\xA0", 3},
        {E::kShiftJis, "a\x82\xA0\x95", 3}, // "表" cut after its lead byte
        {E::kShiftJis, "\x95\x5C\xB1", 3},  // half-width katakana is one byte
        {E::kShiftJis, "\x81<a", 3},        // a lead byte without its second byte
        {E::kEucJp, "a\xA4\xA2\x8E", 3},
        {E::kEucJp, "\x8F\xB0\xA1\x8F\xB0", 3},
        {E::kUtf16Le, std::string("a\0b", 3), 2},
        {E::kUtf16Le, std::string("a\0=\xD8\x00", 5), 2}, // a surrogate pair cut in half
        {E::kUtf16Be, std::string("\xD8=\xDE\x00", 4), 4},
        {E::kSingleByte, "\x93\x94", 2},
    };
    for (const CutCase& c : cases)
        EXPECT_EQ(CompleteCharactersLength(c.encoding,
                                           reinterpret_cast<const unsigned char*>(c.bytes.data()),
                                           c.bytes.size()),
                  c.complete)
            << Name(c.encoding) << " " << c.bytes;
}

TEST(HtmlEncoding, CharsetNamesAndAliasesGiveTheirCodePages) {
    using E = HtmlEncoding;
    const struct {
        const char* label;
        HtmlEncoding encoding;
        unsigned codePage;
    } cases[] = {
        {"x-mac-roman", E::kSingleByte, 10000},
        {"Macintosh", E::kSingleByte, 10000},
        {"x-mac-cyrillic", E::kSingleByte, 10007},
        {"windows-1250", E::kSingleByte, 1250},
        {"CP1251", E::kSingleByte, 1251},
        {"windows-1258", E::kSingleByte, 1258},
        {"iso-8859-1", E::kSingleByte, 1252},
        {"ISO_8859-2", E::kSingleByte, 28592},
        {"latin5", E::kSingleByte, 1254},
        {"iso-8859-7", E::kSingleByte, 28597},
        {"iso-8859-8-i", E::kSingleByte, 28598},
        {"iso-8859-15", E::kSingleByte, 28605},
        {"tis-620", E::kSingleByte, 874},
        {"koi8-r", E::kSingleByte, 20866},
        {"KOI8-U", E::kSingleByte, 21866},
        {"ibm866", E::kSingleByte, 866},
        {"big5", E::kDoubleByte, 950},
        {"gb2312", E::kDoubleByte, 936},
        {"GBK", E::kDoubleByte, 936},
        {"gb18030", E::kGb18030, 54936},
        {"euc-kr", E::kDoubleByte, 949},
        {"ks_c_5601-1987", E::kDoubleByte, 949},
        {" EUC-JP ", E::kEucJp, 20932},
        {"windows-31j", E::kShiftJis, 932},
        {"unicode-1-1-utf-8", E::kUtf8, 65001},
    };
    for (const auto& c : cases) {
        Charset charset;
        ASSERT_TRUE(CharsetFromLabel(c.label, &charset)) << c.label;
        EXPECT_STREQ(Name(charset.encoding), Name(c.encoding)) << c.label;
        EXPECT_EQ(charset.codePage, c.codePage) << c.label;
    }
    // Names without a Windows code page, and names nobody knows.
    for (const char* unknown : {"iso-8859-10", "iso-8859-14", "iso-8859-16", "iso-2022-jp",
                                "x-klingon", "", "utf-8x", "mac roman"}) {
        Charset charset;
        EXPECT_FALSE(CharsetFromLabel(unknown, &charset)) << unknown;
    }
    // Declared in a META, and an unknown one left to the bytes.
    DetectedEncoding mac = DetectHtmlEncoding("<meta charset=x-mac-roman>", 26);
    EXPECT_EQ(mac.codePage, 10000u);
    const char unknown[] = "<meta charset=x-klingon><title>\xA4\xCE</title>";
    EXPECT_EQ(DetectHtmlEncoding(unknown, sizeof unknown - 1).codePage, 20932u);
}

// Japanese text that declares nothing: samples of our own in both encodings,
// long and short, told apart by their bytes alone.
TEST(HtmlEncoding, UndeclaredEucJpAndShiftJisAreToldApart) {
    const struct {
        const char* name;
        std::string bytes;
        HtmlEncoding expected;
    } cases[] = {
        // "w3m のページ" and a page title, in EUC-JP.
        {"euc short", "w3m \xA4\xCE\xA5\xDA\xA1\xBC\xA5\xB8", HtmlEncoding::kEucJp},
        {"euc hiragana", "\xA4\xA2", HtmlEncoding::kEucJp},
        {"euc page",
         "<title>\xC6\xFC\xCB\xDC\xB8\xEC\xA4\xCE\xA5\xDA\xA1\xBC\xA5\xB8</title>"
         "<a href=\"http://a.example/\">\xA5\xEA\xA5\xF3\xA5\xAF</a>",
         HtmlEncoding::kEucJp},
        // "ｱｲのこと": half-width katakana read as Shift-JIS kanji, outnumbered.
        {"euc with half-width kana", "\x8E\xB1\x8E\xB2\xA4\xCE\xA4\xB3\xA4\xC8",
         HtmlEncoding::kEucJp},
        // "日本語のページ", "リンク" and "あ" in Shift-JIS.
        {"sjis page", "<title>\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x83\x79\x81\x5B\x83\x57</title>",
         HtmlEncoding::kShiftJis},
        {"sjis short", "\x83\x8A\x83\x93\x83\x4E", HtmlEncoding::kShiftJis},
        {"sjis hiragana", "\x82\xA0", HtmlEncoding::kShiftJis},
        // Half-width katakana alone, an odd number of them: no EUC-JP.
        {"sjis half-width odd", "\xB1\xB2\xB3", HtmlEncoding::kShiftJis},
        {"sjis kanji of the second level", "\xE0\xA0", HtmlEncoding::kShiftJis},
        {"ascii", "plain", HtmlEncoding::kShiftJis},
        // "ﾃｽ" is also UTF-8 ("ý") and EUC-JP (a kanji): half-width katakana
        // away from any word, and a lone kanji, read as Shift-JIS.
        {"sjis half-width pair", "<a href=\"http://t.example/\">\xC3\xBD</a>",
         HtmlEncoding::kShiftJis},
        // ...while Latin letters inside words, and signs, stay UTF-8.
        {"utf8 accent in a word", "caf\xC3\xA9 au lait", HtmlEncoding::kUtf8},
        {"utf8 sign alone", "\xC2\xA9 2003", HtmlEncoding::kUtf8},
        // A title cut inside a character among 64 whole ones.
        {"utf8 with a cut title", "<a>\xE6\x97</a>" + Repeated(u8"日", 64), HtmlEncoding::kUtf8},
        // "ＮＨＫ": read as Shift-JIS it is "｣ﾎ｣ﾈ｣ﾋ".
        {"euc full-width letters", "<a>\xA3\xCE\xA3\xC8\xA3\xCB</a>", HtmlEncoding::kEucJp},
        // A character cut by the end of the bytes looked at, with more to come.
        {"euc cut", std::string(kEncodingPrescanBytes - 3, 'x') + "\xA4\xCE\xA4",
         HtmlEncoding::kEucJp},
        {"sjis cut", std::string(kEncodingPrescanBytes - 3, 'x') + "\x82\xA0\x82",
         HtmlEncoding::kShiftJis},
    };
    for (const auto& c : cases) {
        Charset charset = DetectUndeclaredEncoding(
            reinterpret_cast<const unsigned char*>(c.bytes.data()), c.bytes.size());
        EXPECT_STREQ(Name(charset.encoding), Name(c.expected)) << c.name;
        unsigned codePage = c.expected == HtmlEncoding::kEucJp  ? 20932u
                            : c.expected == HtmlEncoding::kUtf8 ? 65001u
                                                                : 932u;
        EXPECT_EQ(charset.codePage, codePage) << c.name;
    }
    // A long EUC-JP page whose kanji outnumber its kana still reads as EUC-JP.
    std::string page;
    for (int i = 0; i < 2000; ++i)
        page += "\xC6\xFC\xCB\xDC\xB7\xD0\xBA\xD1\xF0\xA1\xA4\xCE\n";
    Charset charset =
        DetectUndeclaredEncoding(reinterpret_cast<const unsigned char*>(page.data()), page.size());
    EXPECT_STREQ(Name(charset.encoding), "EUC-JP");
}
