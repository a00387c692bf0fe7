// One bookmark file or saved page in the shape of each exporter the users
// bring, written by us: each imports to exactly its titles and addresses in
// Shift-JIS, and proposes its title.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/imports/html/html_file_title.h"
#include "settings/imports/html/html_link_import.h"
#include "store_reset.h"
#include "tests/hostile/page_session.h"

namespace {
struct Entry {
    std::string title;
    std::string address;
};

struct Sample {
    const char* file;
    const char* proposedTitle;
    std::vector<Entry> entries;
};

// The expected texts are narrow literals, which this program holds in
// Shift-JIS, as the menu does.
const Sample kSamples[] = {
    {"netscape4.html", // Shift-JIS without any declaration, CR LF
     "山田太郎のブックマーク",
     {{"ネットスケープ", "http://home.netscape.example/ja/"},
      {"検索エンジン", "http://www.search.example/cgi-bin/find?kw=%93%FA%96%7B&lang=ja"},
      {"毎朝新聞 ― 速報", "http://www.shinbun.example/表示/index.html"},
      {"ソフト置き場", "ftp://ftp.soft.example/pub/"}}},
    {"mozilla.html",
     "ブックマーク",
     {{"Mozilla 日本語版", "http://www.mozilla.example/ja/"},
      {"最新ニュース (ライブブックマーク)", "http://news.mozilla.example/"},
      {"会社案内 & 採用情報", "http://www.example.co.jp/?id=1&mode=view"},
      {"<引用> 名言集", "http://www.quote.example/"}}},
    {"firefox.html",
     "Bookmarks",
     {{"ヘルプを見る", "https://support.mozilla.example/ja/products/firefox"},
      {"Firefox をカスタマイズ", "https://www.mozilla.example/ja/firefox/customize/"},
      {"東京 & 周辺の検索結果",
       "https://search.example.jp/search?q=%E6%9D%B1%E4%BA%AC&hl=ja&num=20"},
      {"AT&T - Wikipedia", "https://ja.wikipedia.example/wiki/AT%26T"},
      {"10～20%オフ セール中！", "https://shop.example.jp/item?id=42&color=%E8%B5%A4&ref=bm"},
      {"このページを共有", "javascript:(function(){location.href='https://share.example/?u='+"
                           "encodeURIComponent(location.href)})()"}}},
    {"chrome.html",
     "Bookmarks",
     {{"受信トレイ (3) - taro@example.com - Example メール",
       "https://mail.example.com/mail/u/0/#inbox"},
      {"渋谷駅 - Example マップ", "https://maps.example.com/?q=%E6%B8%8B%E8%B0%B7%E9%A7%85&z=16"},
      {"<a>: The Anchor element", "https://dev.example.org/docs/Web/HTML/Element/a"},
      {"It's here! \"新機能\"のまとめ ?", "https://blog.example.jp/entry/2023/10/01/it's-here"},
      {"設定", "chrome://settings/"},
      {"東京都 ? Wiki", "https://ja.wiki.example/wiki/東京都"}}},
    {"edge.html", // UTF-8 with a byte order mark, CR LF
     "Bookmarks",
     {{"天気 - 検索", "https://www.bing.example/search?q=%E5%A4%A9%E6%B0%97&form=QBLH"},
      {"Outlook ? メール", "https://outlook.example.com/mail/"},
      {"お気に入りの管理", "edge://favorites/"},
      {"ニュース： 第２ページ", "https://news.example.jp/article?id=123&page=2"}}},
    {"ie4mac.html", // Shift-JIS, CR line ends
     "お気に入り",
     {{"アップル - 日本", "http://www.apple.example/jp/"},
      {"サポート", "http://www.apple.example/jp/support/"},
      {"Mac 用 Internet Explorer", "http://www.microsoft.example/japan/mac/"},
      {"ﾏｯｸﾌｧﾝ ｵﾝﾗｲﾝ", "http://www.macfan.example/"}}},
    {"ie11.html",
     "Bookmarks",
     {{"おすすめサイト", "http://go.microsoft.example/fwlink/?LinkId=121315"},
      {"Web スライス ギャラリー", "http://go.microsoft.example/fwlink/?LinkId=255142"},
      {"○○銀行 ログイン", "http://www.bank.example.jp/login.aspx?redirect=top&lang=jp"},
      {"市役所 ホームページ", "http://www.city.example.lg.jp/"}}},
    {"icab.html", // ISO-8859-1, CR line ends, attributes before HREF
     "Hotlist",
     {{"iCab News", "http://www.icab.example/news.html"},
      {"Zeitung f?r Caf?s", "http://www.zeitung.example/Nachrichten"},
      {"Caf? Men? ? 2001", "http://www.caf%C3%A9.example/men%C3%BC.html"},
      {"Home page ? ￡ ￠", "http://www.example.org/~user/"}}},
    {"delicious.html",
     "Bookmarks",
     {{"簡単！ 肉じゃがの作り方 | レシピ", "http://www.recipe.example.jp/recipe/123456"},
      {"user/repo: A \"quoted\" project", "https://github.example/user/repo"},
      {"写真アルバム", "http://www.photo.example/albums?user=taro&sort=date"}}},
    {"saved_page_sjis.html",
     "リンク集 － 表示ソフトの部屋",
     {{"ソフトウェアの森", "http://www.soft.example.jp/"},
      {"表示テスト", "http://www.hyouji.example.jp/表示/"},
      {"Ruby 公式", "http://www.ruby.example.org/ja/"},
      {"シングル引用符", "http://www.single.example.jp/"},
      {"引用符なし", "http://www.noquote.example.jp/"}}},
    {"saved_page_utf8.html",
     "技術ブログ ｜ 記事一覧",
     {{"? アーカイブ", "https://blog.example.jp/archive"},
      {"波ダッシュ問題：～と～の違い Shift_JISとUnicodeの変換表 ― 実例で解説",
       "https://blog.example.jp/entry/2024/01/15/wave-dash"},
      {"絵文字 ? を含むタイトル", "https://blog.example.jp/entry/2024/02/01/emoji"},
      {"#文字コード", "https://blog.example.jp/tag/%E6%96%87%E5%AD%97%E3%82%B3%E3%83%BC%E3%83%89"},
      {"東京の地図", "https://maps.example.jp/?ll=35.68,139.76&z=12"},
      {"Caf? & 喫茶店 ― 検索", "https://blog.example.jp/search?q=caf%C3%A9&sort=new"}}},
    {"saved_page_eucjp.html",
     "日記のページ",
     {{"五月の日記", "http://diary.example.jp/2003/05/"},
      {"掲示板（ｶﾀｶﾅ）", "http://diary.example.jp/cgi-bin/bbs.cgi?mode=read&no=10"}}},
    // Undeclared, and nothing beyond ASCII but what also reads as another
    // encoding: half-width katakana that is valid UTF-8, full-width letters
    // that are valid Shift-JIS.
    {"saved_page_sjis_halfwidth.html",
     "ﾃｽ",
     {{"ﾃｽ", "http://www.test.example.jp/"}, {"Example", "http://www.example.com/"}}},
    {"saved_page_eucjp_fullwidth.html",
     "ＮＨＫ",
     {{"ＮＨＫ", "http://www3.nhk.example.jp/"}, {"ＢＢＣ", "http://www.bbc.example.co.uk/"}}},
};

std::string SamplePath(const char* file) {
    return std::string("html_samples\\") + file;
}

std::string Describe(const std::vector<Entry>& entries) {
    std::string description;
    for (const Entry& entry : entries)
        description += entry.title + " = " + entry.address + "\n";
    return description;
}
} // namespace

TEST(HtmlSamples, EachExporterImportsToItsTitlesAndAddresses) {
    ResetStore();
    std::vector<std::vector<Entry>> imported(std::size(kSamples));
    ASSERT_TRUE(WithUrlPage(
        [&](OpenUrlPage& page) {
            for (size_t i = 0; i < std::size(kSamples); ++i) {
                HTREEITEM submenu = page.InsertSubmenu(page.TopItem(), TVI_LAST, "import");
                EXPECT_EQ(ImportHtmlLinks(page, SamplePath(kSamples[i].file).c_str(), submenu),
                          HtmlImportResult::kImported)
                    << kSamples[i].file;
                for (const PageItem& item : ReadPageItem(page, submenu).children) {
                    EXPECT_TRUE(item.isText);
                    imported[i].push_back({item.title, item.text});
                }
            }
        },
        60000));
    for (size_t i = 0; i < std::size(kSamples); ++i)
        EXPECT_EQ(Describe(imported[i]), Describe(kSamples[i].entries)) << kSamples[i].file;
}

TEST(HtmlSamples, EachFileProposesItsOwnTitle) {
    for (const Sample& sample : kSamples) {
        std::string title = "unchanged";
        EXPECT_TRUE(ReadHtmlFileTitle(SamplePath(sample.file).c_str(), title));
        EXPECT_EQ(title, sample.proposedTitle) << sample.file;
    }
    std::string title = "unchanged";
    EXPECT_FALSE(ReadHtmlFileTitle("html_samples\\missing.html", title));
    EXPECT_EQ(title, "unchanged");
}
