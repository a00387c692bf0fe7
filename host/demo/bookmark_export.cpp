#include "bookmark_export.h"

#include <cstdint>
#include <iterator>
#include <string>

namespace {
// Source text in UTF-8 whatever the compiler's execution character set.
const char* const kWords[] = {
    u8"天気予報", u8"ニュース",     u8"東京",   u8"大阪",         u8"レシピ",   u8"簡単",
    u8"肉じゃが", u8"乗り換え案内", u8"時刻表", u8"地図",         u8"銀行",     u8"ログイン",
    u8"通販",     u8"セール",       u8"開発者", u8"ドキュメント", u8"入門",     u8"まとめ",
    u8"旅行",     u8"温泉",         u8"京都",   u8"写真",         u8"アルバム", u8"ブログ",
    u8"技術",     u8"文字コード",   u8"変換表", u8"ｶﾀｶﾅ",         u8"料金",     u8"比較",
};
const char* const kMarks[] = {u8" - ", u8" | ",      u8"：", u8"・", u8" ",
                              u8"〜",  u8"【公式】", u8" 🎉", u8"（", u8"）"};
const char* const kFolders[] = {u8"ブックマーク バー",   u8"仕事", u8"趣味", u8"買い物", u8"読み物",
                                u8"その他のブックマーク"};
const char* const kHosts[] = {"news.example.jp", "www.example.co.jp", "shop.example.com",
                              "blog.example.jp", "maps.example.com",  "dev.example.org"};

struct Random {
    uint32_t state = 12345;
    uint32_t Next(uint32_t below) {
        state = state * 1103515245u + 12345u;
        return (state >> 8) % below;
    }
};

std::string Title(Random& random) {
    std::string title = kWords[random.Next(std::size(kWords))];
    int parts = 1 + static_cast<int>(random.Next(3));
    for (int i = 0; i < parts; ++i) {
        title += kMarks[random.Next(std::size(kMarks))];
        title += kWords[random.Next(std::size(kWords))];
    }
    if (random.Next(5) == 0)
        title += u8" &amp; ";
    if (random.Next(5) == 0)
        title += kWords[random.Next(std::size(kWords))];
    return title;
}

std::string Link(Random& random, int number) {
    std::string link = u8"        <DT><A HREF=\"https://";
    link += kHosts[random.Next(std::size(kHosts))];
    link += "/page/" + std::to_string(number);
    if (random.Next(2))
        link += "?id=" + std::to_string(random.Next(100000)) +
                "&amp;ref=bookmark&amp;q=%E6%9D%B1%E4%BA%AC";
    link += "\" ADD_DATE=\"" + std::to_string(1700000000 + number) + "\"";
    if (random.Next(4) == 0)
        link += " ICON=\"data:image/png;base64,iVBORw0KGgoAAAANSUhEUgAAABAAAAAQCAYAAAAf8/"
                "9hAAAAEklEQVQ4T2NgGAWjYBSMAggAAAQQAAF/TXiOAAAAAElFTkSuQmCC\"";
    link += ">" + Title(random) + "</A>\n";
    return link;
}
} // namespace

std::string JapaneseBookmarkExport(size_t size) {
    Random random;
    std::string html = u8"<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
                       u8"<!-- This is an automatically generated file.\n"
                       u8"     It will be read and overwritten.\n"
                       u8"     DO NOT EDIT! -->\n"
                       u8"<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                       u8"<TITLE>ブックマーク</TITLE>\n"
                       u8"<H1>ブックマーク</H1>\n"
                       u8"<DL><p>\n";
    int number = 0;
    for (size_t folder = 0; html.size() < size; ++folder) {
        html += u8"    <DT><H3 ADD_DATE=\"1700000000\">";
        html += kFolders[folder % std::size(kFolders)];
        html += u8"</H3>\n    <DL><p>\n";
        for (int i = 0; i < 40 && html.size() < size; ++i)
            html += Link(random, ++number);
        html += u8"    </DL><p>\n";
    }
    html += u8"</DL><p>\n";
    return html;
}

size_t JapaneseBookmarkLinkCount(const std::string& exportBytes) {
    size_t count = 0;
    for (size_t found = exportBytes.find("<DT><A "); found != std::string::npos;
         found = exportBytes.find("<DT><A ", found + 1))
        ++count;
    return count;
}
