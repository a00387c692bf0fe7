// Finding an HTML file's encoding from its first bytes, and where a block of
// its bytes may be cut without cutting a character.
#include <gtest/gtest.h>

#include <string>

#include "settings/imports/html/html_encoding.h"

namespace {
struct EncodingCase {
    std::string start;
    HtmlEncoding expected;
    size_t byteOrderMark;
};

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
    case HtmlEncoding::kWindows1252:
        return "windows-1252";
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
        {"<head><meta charset=\" ISO-8859-1 \"><title>x</title>", E::kWindows1252, 0},
        {"<meta charset=us-ascii>", E::kWindows1252, 0},
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
        {E::kWindows1252, "\x93\x94", 2},
    };
    for (const CutCase& c : cases)
        EXPECT_EQ(CompleteCharactersLength(c.encoding,
                                           reinterpret_cast<const unsigned char*>(c.bytes.data()),
                                           c.bytes.size()),
                  c.complete)
            << Name(c.encoding) << " " << c.bytes;
}
