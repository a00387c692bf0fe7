// "HTMLﾌｧｲﾙから挿入" on the menu page of the real sheet: the dialog with its
// browse button and checks, the placement of the new submenu and the links
// read from files on disk.
#include <gtest/gtest.h>

#include "import_driver.h"
#include "menu_description.h"
#include "menu_store_io.h"
#include "sheet_driver.h"
#include "store_reset.h"
#include "temp_folder.h"

namespace {
const int kHtmlButton = 1012;
const int kTitleField = 1003;
const int kFileField = 1006;
const int kBrowseButton = 1014;

Step ClickHtml() {
    return ClickOnMenuPage(kHtmlButton);
}

// Fills the dialog's two fields and presses one of its buttons.
Step FillHtmlDialog(const std::string& title, const std::string& path, int button) {
    return When(kHtmlDialogCaption, [=](HWND dialog) {
        SetControlText(dialog, kTitleField, title);
        SetControlText(dialog, kFileField, path);
        PostClick(dialog, button);
    });
}

Step ReadMenu(std::string* menu, bool* applyEnabled = nullptr) {
    return OnSheet([=](HWND sheet) {
        *menu = DescribeMenu(sheet);
        if (applyEnabled)
            *applyEnabled = ApplyEnabled(sheet);
    });
}

// Imports path under title into an empty menu; the menu afterwards.
std::string ImportFile(const std::string& title, const std::string& path) {
    std::string menu;
    EXPECT_TRUE(RunSheetSteps(
        {ClickHtml(), FillHtmlDialog(title, path, IDOK), ReadMenu(&menu), PressSheetCancel()}));
    return menu;
}

struct BrowseResult {
    std::string title;
    std::string path;
};

// Types a title, browses for path, and reads what the dialog then holds.
BrowseResult BrowseFor(const std::string& typedTitle, const std::string& path) {
    BrowseResult result;
    EXPECT_TRUE(
        RunSheetSteps({ClickHtml(), FillHtmlDialog(typedTitle, "", kBrowseButton), ChooseFile(path),
                       When(kHtmlDialogCaption,
                            [&](HWND dialog) {
                                result.title = ControlText(dialog, kTitleField);
                                result.path = ControlText(dialog, kFileField);
                                PostClick(dialog, IDCANCEL);
                            }),
                       PressSheetCancel()}));
    return result;
}
} // namespace

TEST(HtmlImport, LinksOfEveryFormBecomeEntriesInFileOrder) {
    ResetStore();
    TempFolder folder;
    std::string path = folder.WriteFile(
        "links.html", "<html><head><title>Links</title></head><body>\r\n"
                      "<a href=\"http://lower.example/\">lower</a>\r\n"
                      "<A HREF=\"http://upper.example/\">UPPER</A>\r\n"
                      "<a href='http://single.example/'>single</a>\r\n"
                      "<a href=http://unquoted.example/>unquoted</a>\r\n"
                      "<a href=\"mailto:someone@example.com\">mail</a>\r\n"
                      "<a name=\"anchor\">named</a>\r\n"
                      "<map><AREA SHAPE=rect HREF=\"http://area.example/\" "
                      "ALT=\"x\">area text<b>after</b></map>\r\n"
                      "<a href=\"http://bold.example/\"><b>bold</b></a>\r\n"
                      "<a href=\"http://first.example/\">"
                      "<a href=\"http://second.example/\">second</a>\r\n"
                      "<a href=\"http://multi.example/\">multi\r\nline\ntext</a>\r\n"
                      "</body></html>\r\n");
    std::string menu;
    bool applyEnabled = false;
    ASSERT_TRUE(RunSheetSteps({ClickHtml(), FillHtmlDialog("links", path, IDOK),
                               ReadMenu(&menu, &applyEnabled), PressSheetCancel()}));
    EXPECT_EQ(menu, "links{lower=http://lower.example/|UPPER=http://upper.example/|"
                    "single=http://single.example/|unquoted=http://unquoted.example/|"
                    "x=http://area.example/|bold=http://bold.example/|=http://first.example/|"
                    "second=http://second.example/|multilinetext=http://multi.example/}");
    EXPECT_TRUE(applyEnabled);
}

TEST(HtmlImport, ABrowserExportWithFoldersGivesOneFlatSubmenu) {
    ResetStore();
    TempFolder folder;
    // Narrow literals are Shift-JIS, as such a file is stored.
    std::string path = folder.WriteFile(
        "bookmark.htm",
        "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"
        "<!-- This is an automatically generated file.\r\n"
        "     It will be read and overwritten.\r\n"
        "     DO NOT EDIT! -->\r\n"
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Shift_JIS\">\r\n"
        "<TITLE>ブックマーク</TITLE>\r\n"
        "<H1>ブックマーク</H1>\r\n"
        "<DL><p>\r\n"
        "    <DT><H3 ADD_DATE=\"1600000000\" LAST_MODIFIED=\"1600000001\">ニュース</H3>\r\n"
        "    <DL><p>\r\n"
        "        <DT><A HREF=\"https://news.example.jp/\" "
        "ADD_DATE=\"1600000002\">ニュース速報</A>\r\n"
        "        <DT><H3>国際</H3>\r\n"
        "        <DL><p>\r\n"
        "            <DT><A HREF=\"https://world.example.com/\">世界のニュース</A>\r\n"
        "        </DL><p>\r\n"
        "    </DL><p>\r\n"
        "    <DT><A HREF=\"https://soft.example.jp/表示\" ICON=\"data:image/png;base64,AA\">"
        "ソフトウェア表示</A>\r\n"
        "    <HR>\r\n"
        "    <DT><A HREF=\"http://example.com/?a=1&amp;b=2\">Example &amp; Co.</A>\r\n"
        "</DL><p>\r\n");
    std::string proposed, menu;
    ASSERT_TRUE(RunSheetSteps({ClickHtml(), FillHtmlDialog("", "", kBrowseButton), ChooseFile(path),
                               When(kHtmlDialogCaption,
                                    [&](HWND dialog) {
                                        proposed = ControlText(dialog, kTitleField);
                                        PostClick(dialog, IDOK);
                                    }),
                               ReadMenu(&menu), PressSheetCancel()}));
    EXPECT_EQ(proposed, "ブックマーク");
    EXPECT_EQ(menu, "ブックマーク{ニュース速報=https://news.example.jp/|"
                    "世界のニュース=https://world.example.com/|"
                    "ソフトウェア表示=https://soft.example.jp/表示|"
                    "Example & Co.=http://example.com/?a=1&b=2}");
}

TEST(HtmlImport, BrowsingProposesTheFileTitleOnlyWhenNoneWasTyped) {
    ResetStore();
    TempFolder folder;
    std::string sameLine =
        folder.WriteFile("same.html", "<html><head><title>My Links</title></head>\r\n<body>");
    std::string threeLines = folder.WriteFile(
        "three.html", "<HTML>\r\n<HEAD><TITLE>Start \r\nmiddle\r\n end</TITLE></HEAD>\r\n");
    std::string untitled = folder.WriteFile("untitled.html", "<html><body>no title</body></html>");

    BrowseResult result = BrowseFor("", sameLine);
    EXPECT_EQ(result.title, "My Links");
    EXPECT_EQ(lstrcmpiA(result.path.c_str(), sameLine.c_str()), 0) << result.path;

    EXPECT_EQ(BrowseFor("", threeLines).title, "Start middle end");
    EXPECT_EQ(BrowseFor("", untitled).title, "");
    result = BrowseFor("Mine", sameLine);
    EXPECT_EQ(result.title, "Mine");
    EXPECT_EQ(lstrcmpiA(result.path.c_str(), sameLine.c_str()), 0) << result.path;
}

TEST(HtmlImport, BrowsingLeavesTheCurrentDirectoryWhereItWas) {
    ResetStore();
    TempFolder folder;
    std::string path = folder.WriteFile("elsewhere.html", "<title>Elsewhere</title>");
    std::string before = CurrentDirectory();
    ASSERT_NE(before, folder.Path());
    std::string title, directory;
    ASSERT_TRUE(RunSheetSteps({ClickHtml(), FillHtmlDialog("", "", kBrowseButton),
                               [&](HWND top) {
                                   if (WindowText(top) == kHtmlDialogCaption)
                                       return false;
                                   // Browsing to the file's folder moves the current directory
                                   // there.
                                   SetCurrentDirectoryA(folder.Path().c_str());
                                   return ChooseFileInOpenDialog(top, path);
                               },
                               When(kHtmlDialogCaption,
                                    [&](HWND dialog) {
                                        title = ControlText(dialog, kTitleField);
                                        directory = CurrentDirectory();
                                        PostClick(dialog, IDCANCEL);
                                    }),
                               PressSheetCancel()}));
    EXPECT_EQ(title, "Elsewhere");
    // Address books named by relative paths are found there afterwards.
    EXPECT_EQ(directory, before);
    EXPECT_EQ(CurrentDirectory(), before);
    SetCurrentDirectoryA(before.c_str());
}

TEST(HtmlImport, CancelledBrowsingLeavesTheFields) {
    ResetStore();
    std::string title, path;
    ASSERT_TRUE(RunSheetSteps({ClickHtml(), FillHtmlDialog("", "C:\\typed.html", kBrowseButton),
                               [](HWND top) {
                                   if (WindowText(top) == kHtmlDialogCaption ||
                                       !GetDlgItem(top, IDCANCEL))
                                       return false;
                                   PostClick(top, IDCANCEL);
                                   return true;
                               },
                               When(kHtmlDialogCaption,
                                    [&](HWND dialog) {
                                        title = ControlText(dialog, kTitleField);
                                        path = ControlText(dialog, kFileField);
                                        PostClick(dialog, IDCANCEL);
                                    }),
                               PressSheetCancel()}));
    EXPECT_EQ(title, "");
    EXPECT_EQ(path, "C:\\typed.html");
}

TEST(HtmlImport, OkChecksTheTitleFirstThenTheFileName) {
    ResetStore();
    std::string first, second, menu;
    int focusAfterFirst = 0, focusAfterSecond = 0;
    bool applyEnabled = true;
    ASSERT_TRUE(RunSheetSteps({ClickHtml(), FillHtmlDialog("", "", IDOK), AnswerMessage(&first),
                               When(kHtmlDialogCaption,
                                    [&](HWND dialog) {
                                        focusAfterFirst = FocusedControlId(dialog);
                                        SetControlText(dialog, kTitleField, "   ");
                                        PostClick(dialog, IDOK);
                                    }),
                               AnswerMessage(&second),
                               When(kHtmlDialogCaption,
                                    [&](HWND dialog) {
                                        focusAfterSecond = FocusedControlId(dialog);
                                        PostClick(dialog, IDCANCEL);
                                    }),
                               ReadMenu(&menu, &applyEnabled), PressSheetCancel()}));
    EXPECT_EQ(first, "タイトルが入力されていません");
    EXPECT_EQ(focusAfterFirst, kTitleField);
    // A title of blanks passes; the missing file name is next.
    EXPECT_EQ(second, "ファイル名が入力されていません");
    EXPECT_EQ(focusAfterSecond, kFileField);
    EXPECT_EQ(menu, "");
    EXPECT_FALSE(applyEnabled);
}

TEST(HtmlImport, AFileThatCannotBeOpenedRemovesTheNewSubmenuButMarksTheChange) {
    ResetStore();
    WriteStoreMenu({TextEntry("A", "a-text")});
    TempFolder folder;
    std::string menu;
    bool applyEnabled = false;
    ASSERT_TRUE(
        RunSheetSteps({ClickHtml(), FillHtmlDialog("gone", folder.PathOf("missing.html"), IDOK),
                       ReadMenu(&menu, &applyEnabled), PressSheetCancel()}));
    EXPECT_EQ(menu, "A=a-text");
    EXPECT_TRUE(applyEnabled);
}

TEST(HtmlImport, TheNewSubmenuGoesAtTheEndOfASubmenuOrRightAfterAnEntry) {
    ResetStore();
    WriteStoreMenu(
        {TextEntry("A", "a"), Submenu("S", {TextEntry("s1", "s")}), TextEntry("B", "b")});
    TempFolder folder;
    std::string path = folder.WriteFile("one.html", "<a href=\"http://l.example/\">l</a>");
    auto select = [](std::vector<std::string> titles) {
        return OnSheet([titles](HWND sheet) {
            HWND tree = MenuTree(sheet);
            SelectItem(tree, titles.empty() ? nullptr : FindItem(tree, titles));
        });
    };
    std::string menu;
    ASSERT_TRUE(
        RunSheetSteps({select({}), ClickHtml(), FillHtmlDialog("T1", path, IDOK), select({"S"}),
                       ClickHtml(), FillHtmlDialog("T2", path, IDOK), select({"A"}), ClickHtml(),
                       FillHtmlDialog("T3", path, IDOK), ReadMenu(&menu), PressSheetCancel()}));
    EXPECT_EQ(menu, "A=a|T3{l=http://l.example/}|S{s1=s|T2{l=http://l.example/}}|B=b|"
                    "T1{l=http://l.example/}");
}

TEST(HtmlImport, FilesOfAnyBytesImportWhatTheirLinksGive) {
    ResetStore();
    TempFolder folder;
    // Filler of every byte but the angle brackets, NULs included.
    auto filler = [](size_t size, unsigned seed) {
        std::string bytes;
        for (size_t i = 0; i < size; ++i) {
            seed = seed * 1103515245u + 12345u;
            char byte = static_cast<char>(seed >> 16);
            bytes.push_back(byte == '<' || byte == '>' ? '\0' : byte);
        }
        return bytes;
    };
    std::string big = filler(65530, 1);
    big += "<a href=\"http://straddle.example/\">straddle</a>"; // across the 64 KiB mark
    big += filler(100000, 2);
    big += "<<stray<>";
    const char nulInTitle[] = "<A HREF=\"http://nul.example/\">text\0after nul</A>";
    big.append(nulInTitle, sizeof nulInTitle - 1);
    big += "<a href=\"http://cut.example/\">cut title<a hr"; // ends inside a tag
    std::string bigPath = folder.WriteFile("big.html", big);
    EXPECT_EQ(ImportFile("big", bigPath),
              "big{straddle=http://straddle.example/|"
              "textafter nul=http://nul.example/|cut title=http://cut.example/}");

    EXPECT_EQ(ImportFile("empty", folder.WriteFile("empty.html", "")), "empty{}");
    EXPECT_EQ(ImportFile("open", folder.WriteFile("open.html", "<")), "open{}");
    EXPECT_EQ(
        ImportFile("unclosed", folder.WriteFile("unclosed.html", "<a href=\"http://x.example/\"")),
        "unclosed{}");
}

// The tree refuses one of the import's insertions: no submenu stays, not
// even a shortened one, the page is not changed, and one box says so.
TEST(HtmlImport, ARefusedInsertionLeavesTheMenuAsItWasAndSaysSoOnce) {
    TempFolder folder;
    std::string path = folder.WriteFile("three.html", "<a href=\"http://one.example/\">1</a>"
                                                      "<a href=\"http://two.example/\">2</a>"
                                                      "<a href=\"http://three.example/\">3</a>");
    std::string menu, failure;
    bool applyEnabled = true;
    RefusedInsertRuns runs;
    runs.prepare = [&] {
        ResetStore();
        WriteStoreMenu({TextEntry("A", "a-text")});
        failure.clear();
    };
    runs.steps = [&](long refused) {
        std::vector<Step> steps = {ClickHtml(), FillHtmlDialog("links", path, IDOK)};
        if (refused >= 0)
            steps.push_back(AnswerMessage(&failure));
        steps.push_back(ReadMenu(&menu, &applyEnabled));
        steps.push_back(PressSheetCancel());
        return steps;
    };
    runs.check = [&](long refused) {
        if (refused < 0) {
            EXPECT_EQ(menu, "A=a-text|links{1=http://one.example/|2=http://two.example/|"
                            "3=http://three.example/}");
            return;
        }
        EXPECT_EQ(failure, "項目を追加できなかったため、何も挿入しませんでした。") << refused;
        EXPECT_EQ(menu, "A=a-text") << refused;
        EXPECT_FALSE(applyEnabled) << refused;
    };
    EXPECT_EQ(RunRefusingEachInsert(runs), 4); // the submenu and three entries
}
