// The two imports of the menu tree page over files that no browser wrote:
// random bytes, a 50 MB page, a Favorites tree deeper than the path limit and
// shortcut files that are no INI files. Nothing may crash, hang or overrun.
#include <gtest/gtest.h>

#include "page_session.h"
#include "random_bytes.h"
#include "settings/imports/favorites/favorites_scan.h"
#include "settings/imports/html/html_link_import.h"
#include "store_reset.h"
#include "tests/settings/temp_folder.h"

namespace {

const DWORD kDeadlineMs = 240000;

class ImportHostileFiles : public ::testing::Test {
  protected:
    void SetUp() override { ResetStore(); }
    void TearDown() override { ResetStore(); }

    // Runs one import into a fresh submenu under the top item and reads what
    // it added.
    PageItem Import(const std::function<BOOL(OpenUrlPage&, HTREEITEM)>& import, BOOL* result) {
        PageItem added;
        EXPECT_TRUE(WithUrlPage(
            [&](OpenUrlPage& page) {
                HTREEITEM submenu = page.InsertSubmenu(page.TopItem(), TVI_LAST, "import");
                *result = import(page, submenu);
                added = ReadPageItem(page, submenu);
            },
            kDeadlineMs));
        return added;
    }
    PageItem ImportHtml(const std::string& path, BOOL* result) {
        return Import(
            [&](OpenUrlPage& page, HTREEITEM parent) {
                return ImportHtmlLinks(page, path.c_str(), parent) == HtmlImportResult::kImported;
            },
            result);
    }
    PageItem ImportFavorites(const std::string& folder) {
        BOOL result = FALSE;
        return Import(
            [&](OpenUrlPage& page, HTREEITEM parent) {
                return ScanFavoritesFolder(page, folder, parent) ? TRUE : FALSE;
            },
            &result);
    }

    TempFolder folder_;
};

void ExpectOnlyTextEntries(const PageItem& submenu) {
    for (const PageItem& entry : submenu.children) {
        EXPECT_TRUE(entry.isText) << "every link is a text entry with a string";
        EXPECT_TRUE(entry.children.empty());
    }
}

TEST_F(ImportHostileFiles, HtmlOfRandomBytes) {
    BOOL opened = FALSE;
    PageItem noise = ImportHtml(folder_.WriteFile("noise.html", RandomBytes(1 << 20, 7)), &opened);
    EXPECT_TRUE(opened);
    ExpectOnlyTextEntries(noise);

    // Random runs of the pieces the tag reader and the link rule look for.
    std::string pieces = RandomPieces({"<", ">", "<a href=\"", "http://", "\"", "A", " ", "\r\n",
                                       "text", std::string(1, '\0'), "\x82\xa0", "\x81"},
                                      200000, 11);
    PageItem links = ImportHtml(folder_.WriteFile("pieces.html", pieces), &opened);
    EXPECT_TRUE(opened);
    EXPECT_GT(links.children.size(), 100u) << "links do occur in this noise";
    ExpectOnlyTextEntries(links);
}

TEST_F(ImportHostileFiles, FiftyMegabyteHtmlGivesItsLinks) {
    std::string page = "<html><title>big</title><a href=\"http://first.example/\">first</a>";
    std::string filler = "<p>本文のテキスト paragraph text, no links here.</p>\r\n";
    while (page.size() < 50u * 1024 * 1024)
        page += filler;
    page += "<A HREF=\"https://last.example/end\">last</A></html>";
    BOOL opened = FALSE;
    PageItem links = ImportHtml(folder_.WriteFile("big.html", page), &opened);
    EXPECT_TRUE(opened);
    ASSERT_EQ(links.children.size(), 2u);
    EXPECT_EQ(links.children[0].title, "first");
    EXPECT_EQ(links.children[0].text, "http://first.example/");
    EXPECT_EQ(links.children[1].title, "last");
    EXPECT_EQ(links.children[1].text, "https://last.example/end");
}

TEST_F(ImportHostileFiles, FiftyMegabyteTagWithoutEnd) {
    // One link whose tag never closes: the reader holds 50 MB and stops at
    // the end of the file with no link.
    std::string page = "<a href=\"http://never.example/\" title=\"";
    page.resize(50u * 1024 * 1024, 'x');
    BOOL opened = FALSE;
    PageItem links = ImportHtml(folder_.WriteFile("open.html", page), &opened);
    EXPECT_TRUE(opened);
    EXPECT_TRUE(links.children.empty());
}

// The folder levels of the deep Favorites tree, each name 40 characters.
std::string LevelName(int level) {
    std::string name = "level" + std::to_string(level) + "_";
    name.resize(40, 'f');
    return name;
}

TEST_F(ImportHostileFiles, FavoritesDeeperThanThePathLimit) {
    const int levels = 12;
    std::string relative;
    for (int level = 1; level <= levels; ++level) {
        relative += (level > 1 ? "\\" : "") + LevelName(level);
        ASSERT_TRUE(folder_.MakeLongFolder(relative)) << level;
        ASSERT_TRUE(folder_.WriteLongFile(relative + "\\a.url",
                                          "[InternetShortcut]\r\nURL=http://level" +
                                              std::to_string(level) + ".example/\r\n"));
    }
    ASSERT_GT(folder_.PathOf(relative).size(), static_cast<size_t>(MAX_PATH));

    PageItem top = ImportFavorites(folder_.Path());
    // Down the chain: each level's folder and shortcut are there exactly when
    // their full paths fit in MAX_PATH characters with the terminating NUL.
    const PageItem* current = &top;
    std::string path = folder_.Path();
    for (int level = 1; level <= levels; ++level) {
        path += "\\" + LevelName(level);
        const PageItem* next = nullptr;
        for (const PageItem& child : current->children)
            if (!child.isText)
                next = &child;
        if (path.size() >= MAX_PATH) {
            EXPECT_EQ(next, nullptr) << "a folder of " << path.size() << " characters";
            break;
        }
        ASSERT_NE(next, nullptr) << "level " << level << ", " << path.size() << " characters";
        EXPECT_EQ(next->title, LevelName(level));
        bool shortcutFits = (path + "\\a.url").size() < MAX_PATH;
        bool hasShortcut = false;
        for (const PageItem& child : next->children)
            if (child.isText) {
                hasShortcut = true;
                EXPECT_EQ(child.title, "a");
                EXPECT_EQ(child.text, "http://level" + std::to_string(level) + ".example/");
            }
        EXPECT_EQ(hasShortcut, shortcutFits) << "level " << level;
        current = next;
    }
}

TEST_F(ImportHostileFiles, ShortcutsThatAreNoIniFiles) {
    folder_.MakeFolder("links");
    folder_.WriteFile("links\\noise.url", RandomBytes(256 * 1024, 3));
    folder_.WriteFile("links\\binary.url", std::string("\0\0[InternetShortcut]\0URL=x\0", 27));
    folder_.WriteFile("links\\no section.url", "URL=http://outside.example/\r\n");
    folder_.WriteFile("links\\empty.url", "");
    std::string longAddress = "http://long.example/" + std::string(16 * 1024 * 1024, 'a');
    folder_.WriteFile("links\\long.url", "[InternetShortcut]\r\nURL=" + longAddress + "\r\n");

    PageItem top = ImportFavorites(folder_.PathOf("links"));
    ASSERT_EQ(top.children.size(), 5u);
    for (const PageItem& entry : top.children) {
        ASSERT_TRUE(entry.isText) << entry.title;
        if (entry.title == "long") {
            EXPECT_TRUE(entry.text == longAddress) << entry.text.size() << " bytes";
        } else if (entry.title == "no section" || entry.title == "empty") {
            EXPECT_EQ(entry.text, "") << entry.title;
        }
    }
}

} // namespace
