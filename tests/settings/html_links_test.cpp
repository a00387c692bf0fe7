// The link scan of the HTML import over UTF-8 text, case by case: which
// attribute gives the address, references, what is skipped, and how a link's
// text becomes its title.
#include <gtest/gtest.h>

#include <string>

#include "settings/imports/html/html_links.h"

namespace {
// "title=address" of each link, joined by "|".
std::string Links(const std::string& html) {
    MemoryByteSource source(html.data(), html.size());
    std::string description;
    for (const HtmlLink& link : ScanHtmlLinks(source))
        description += (description.empty() ? "" : "|") + link.title + "=" + link.address;
    return description;
}

struct LinkCase {
    const char* html;
    const char* expected;
};

void ExpectCases(const LinkCase* cases, size_t count) {
    for (size_t i = 0; i < count; ++i)
        EXPECT_EQ(Links(cases[i].html), cases[i].expected) << cases[i].html;
}
} // namespace

TEST(HtmlLinks, TheAddressIsTheHrefWhereverItStandsAndHoweverItIsQuoted) {
    const LinkCase cases[] = {
        {"<A HREF=\"http://a.example/\">a</A>", "a=http://a.example/"},
        {"<a href='http://single.example/'>s</a>", "s=http://single.example/"},
        {"<a href=http://bare.example/x>b</a>", "b=http://bare.example/x"},
        {"<a Href = \"http://spaced.example/\" >c</a>", "c=http://spaced.example/"},
        // Other attributes before it, as iCab and saved pages write them.
        {"<A SUBSCRIBE LASTUPDATE=\"997639897\" HREF=\"http://icab.example/\">i</A>",
         "i=http://icab.example/"},
        {"<a class=\"external text\" id='x' href=\"https://ext.example/\">e</a>",
         "e=https://ext.example/"},
        {"<a title=\"a > b\" href=\"http://gt.example/?q=>\">gt</a>", "gt=http://gt.example/?q=>"},
        {"<a data-x='\"' href='http://q.example/'>q</a>", "q=http://q.example/"},
        // The first of two HREFs counts.
        {"<a href=\"http://1.example/\" href=\"http://2.example/\">two</a>",
         "two=http://1.example/"},
        // Blanks around the address and line breaks in it go.
        {"<a href=\"  http://trim.example/a\r\n/b\t \">t</a>", "t=http://trim.example/a/b"},
        // No "://": mail addresses, anchors, scripts, relative links.
        {"<a href=\"mailto:me@example.jp\">m</a><a name=\"top\">n</a><a href=\"/rel\">r</a>"
         "<a href=\"javascript:void(0)\">j</a><a>none</a>",
         ""},
        {"<area shape=rect href=\"http://map.example/\" alt=\"Map &amp; more\">after",
         "Map & more=http://map.example/"},
        {"<AREA HREF=\"http://noalt.example/\"><AREA NOHREF ALT=\"x\">", "=http://noalt.example/"},
        {"<IMG SRC=\"http://i.example/p.gif\"><ABBR TITLE=\"http://x.example/\">x</ABBR>", ""},
    };
    ExpectCases(cases, std::size(cases));
}

TEST(HtmlLinks, ReferencesAreDecodedInTitlesAndAddresses) {
    const LinkCase cases[] = {
        {"<a href=\"http://q.example/?a=1&amp;b=2\">AT&amp;T</a>",
         "AT&T=http://q.example/?a=1&b=2"},
        {"<a href=\"http://e.example/\">&lt;&gt;&quot;&apos;&#38;&#x26;&#X41;</a>",
         "<>\"'&&A=http://e.example/"},
        {"<a href=\"http://n.example/&#x3042;\">a&nbsp;&nbsp;b</a>",
         u8"a b=http://n.example/\u3042"},
        // An old name without ";" is read in text, but kept in an address
        // where a parameter name may follow.
        {"<a href=\"http://p.example/?x=1&copy=2&amp=3&lt;\">&copy 2024 &notit;</a>",
         u8"\u00a9 2024 \u00acit;=http://p.example/?x=1&copy=2&amp=3<"},
        {"<a href=\"http://u.example/\">&unknown; &amp &#; &#xZ; &</a>",
         "&unknown; & &#; &#xZ; &=http://u.example/"},
        // Numbers that name no character, and the windows-1252 range.
        {"<a href=\"http://c.example/\">&#0;&#xD800;&#1114112;&#x80;&#150;</a>",
         u8"\ufffd\ufffd\ufffd\u20ac\u2013=http://c.example/"},
        {"<a href=\"http://l.example/\">&CounterClockwiseContourIntegral;&NotNestedGreaterGreater;"
         "</a>",
         u8"\u2233\u2aa2\u0338=http://l.example/"},
    };
    ExpectCases(cases, std::size(cases));
}

TEST(HtmlLinks, CommentsScriptsAndStylesAreSkipped) {
    const LinkCase cases[] = {
        {"<!-- <DT><A HREF=\"http://hidden.example/\">hidden</A> -->"
         "<DT><A HREF=\"http://shown.example/\">shown</A>",
         "shown=http://shown.example/"},
        {"<!--> <a href=\"http://1.example/\">1</a> <!---> <a href=\"http://2.example/\">2</a>",
         "1=http://1.example/|2=http://2.example/"},
        {"<!-- a -- b --!> <a href=\"http://after.example/\">x</a>", "x=http://after.example/"},
        {"<script>var s = '<a href=\"http://s.example/\">s</a>';</script >"
         "<style type=\"text/css\">a[href=\"http://c.example/\"]{}</STYLE>"
         "<a href=\"http://real.example/\">real</a>",
         "real=http://real.example/"},
        {"<script>if (a </scripts && b) document.write('</a>')</script>"
         "<a href=\"http://ok.example/\">ok</a>",
         "ok=http://ok.example/"},
        {"<a href=\"http://t.example/\">in<!-- comment -->side<script>x()</script></a>",
         "inside=http://t.example/"},
        {"<!DOCTYPE html><?xml version=\"1.0\"?><a href=\"http://d.example/\">d</a>",
         "d=http://d.example/"},
        {"<!-- never closed <a href=\"http://no.example/\">no</a>", ""},
        {"<script><a href=\"http://no.example/\">no</a>", ""},
    };
    ExpectCases(cases, std::size(cases));
}

TEST(HtmlLinks, TheTitleIsTheTextUpToTheEndTagWithoutTagsLineBreaksAndExtraBlanks) {
    const LinkCase cases[] = {
        {"<a href=\"http://s.example/\"><span>Home</span></a>", "Home=http://s.example/"},
        {"<A HREF=\"http://b.example/\"><B>Bold</B> title</A>", "Bold title=http://b.example/"},
        {"<a href=\"http://i.example/\">\r\n      Indented\r\n      link   text\r\n    </a>",
         "Indented link text=http://i.example/"},
        {"<a href=\"http://l.example/\">one\r\ntwo\nthree</a>", "onetwothree=http://l.example/"},
        {"<a href=\"http://img.example/\"><img src=\"x.png\" alt=\"pic\"></a>",
         "=http://img.example/"},
        // A link right after another link's start tag ends the first.
        {"<a href=\"http://1.example/\"><a href=\"http://2.example/\">two</a>",
         "=http://1.example/|two=http://2.example/"},
        {"<a href=\"http://1.example/\">one<a name=\"x\">anchor</a>", "one=http://1.example/"},
        // Without an end tag the title runs to the next link or the end.
        {"<DT><A HREF=\"http://u.example/\">unclosed<DT><H3>Folder</H3>",
         "unclosedFolder=http://u.example/"},
        {"<a href=\"http://e.example/\">cut ti", "cut ti=http://e.example/"},
        {"<a href=\"http://e.example/\"", ""},
        {"", ""},
        {"plain text < 3 and > 2 </> <", ""},
    };
    ExpectCases(cases, std::size(cases));
    // NUL bytes in text are left out.
    const char nul[] = "<a href=\"http://z.example/\">a\0b</a>";
    EXPECT_EQ(Links(std::string(nul, sizeof nul - 1)), "ab=http://z.example/");
}

TEST(HtmlLinks, LongTitlesAreCutBetweenCharactersAndHugeValuesDropped) {
    std::string text;
    for (int i = 0; i < 2000; ++i)
        text += u8"\u3042 ";
    std::string html = "<a href=\"http://long.example/\">" + text + "</a>";
    MemoryByteSource source(html.data(), html.size());
    auto links = ScanHtmlLinks(source);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_LE(links[0].title.size(), 1024u);
    EXPECT_GE(links[0].title.size(), 1020u);
    EXPECT_EQ(links[0].title.substr(0, 7), u8"\u3042 \u3042");
    EXPECT_NE(links[0].title.back(), ' ');
    EXPECT_EQ(links[0].title.size() % 4, 3u) << "whole characters only";

    std::string huge = "<a title=\"" + std::string(3 * 1024 * 1024, 'x') +
                       "\" href=\"http://kept.example/\">k</a><a href=\"http://" +
                       std::string(3 * 1024 * 1024, 'y') + "\">dropped</a>";
    EXPECT_EQ(Links(huge), "k=http://kept.example/");
}
