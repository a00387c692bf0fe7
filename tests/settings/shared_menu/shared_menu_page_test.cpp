// The page "共有メニュー" in the real sheet of Vandry.dll: the plug-in's
// state in words, the shared menu from the local copy, copying from it into
// the user's menu, and the two settings with the address checked on OK.
#include <gtest/gtest.h>

#include "shared_menu_steps.h"
#include "store_reset.h"

namespace {
const char kShare[] = "\\\\server\\team\\メニュー.json";
const wchar_t kShareWide[] = L"\\\\server\\team\\メニュー.json";

const std::string kCopy =
    u8"{\"format\":\"Tevrix menu\",\"version\":1,\"menu\":["
    u8"{\"title\":\"挨拶\",\"submenu\":[{\"title\":\"朝\",\"text\":\"おはようございます\\n\"},"
    u8"{\"title\":\"空\",\"submenu\":[]}]},"
    u8"{\"title\":\"署名\",\"text\":\"サポート窓口\"}]}";
} // namespace

TEST(SharedMenuPage, TheStateIsToldInWordsForEachThingThePlugInLeaves) {
    ResetStore();
    WriteStoreString("", "SharedMenu", kShare);
    WriteLocalCopy(&kCopy);
    const std::string read = "2026-12-01 08:00:00", checked = "2026-12-02 09:30:00",
                      since = "2026-12-02 09:00:00";
    const std::string shown = "(4 項目、" + ShownTime(read) + " に読み込み)";
    const std::string kept =
        "\r\n" + ShownTime(since) + " から、前回の内容を表示しています\r\n" + shown;
    auto failing = [&](const char* problem, const char* status = "") {
        return StateFile{kShareWide, read, "4", checked, problem, since, status};
    };
    const struct {
        const char* name;
        bool present;
        StateFile state;
        std::string words;
        bool treeShown;
    } rows[] = {
        {"no state files", false, {}, "まだ読み込まれていません", false},
        {"read",
         true,
         {kShareWide, read, "4", checked, "none", "", ""},
         ShownTime(checked) + " に確認しました\r\n" + shown,
         true},
        {"another source's copy",
         true,
         {L"X:\\old.json", read, "4", checked, "none", "", ""},
         "まだ読み込まれていません",
         false},
        {"unreachable", true, failing("unreachable"), "サーバーに接続できません" + kept, true},
        {"not-found", true, failing("not-found"), "ファイルが見つかりません" + kept, true},
        {"http-status", true, failing("http-status", "503"),
         "サーバーがエラーを返しました (HTTP 503)" + kept, true},
        {"timeout", true, failing("timeout"), "サーバーが時間内に応答しません" + kept, true},
        {"certificate", true, failing("certificate"), "サーバーの証明書を確認できません" + kept,
         true},
        {"insecure", true, failing("insecure"),
         "http:// はこのPC (127.0.0.1, localhost) にだけ使えます" + kept, true},
        {"not-backup", true, failing("not-backup"), "バックアップファイルではありません" + kept,
         true},
        {"later-version", true, failing("later-version"),
         "新しいバージョンで書き出されたファイルです" + kept, true},
        {"too-large", true, failing("too-large"), "大きすぎます (64MBまで)" + kept, true},
        {"incomplete", true, failing("incomplete"), "読み込み中に変更されました" + kept, true},
        {"bad-menu", true, failing("bad-menu"), "メニューの形式が正しくありません" + kept, true},
        {"a problem before any copy",
         true,
         {kShareWide, "", "0", checked, "unreachable", since, ""},
         "サーバーに接続できません\r\n" + ShownTime(since) +
             " から。表示できる共有メニューはありません",
         false},
    };
    const size_t count = sizeof rows / sizeof rows[0];
    std::vector<std::string> words(count), trees(count);
    std::vector<Step> steps;
    for (size_t i = 0; i < count; ++i) {
        // The files change while the sheet is open; the page reads them when shown.
        steps.push_back(OnSheet([&, i](HWND sheet) {
            WriteStateFile(rows[i].present ? &rows[i].state : nullptr);
            SelectPage(sheet, 0);
            SelectPage(sheet, kSharedPageIndex);
            HWND page = CurrentPage(sheet);
            words[i] = ControlText(page, kStateText);
            trees[i] = DescribeSharedTree(page);
        }));
    }
    steps.push_back(PressSheetCancel());
    ASSERT_TRUE(RunSheetSteps(steps, 60000));
    for (size_t i = 0; i < count; ++i) {
        EXPECT_EQ(words[i], rows[i].words) << rows[i].name;
        EXPECT_EQ(trees[i], rows[i].treeShown ? "共有#2{挨拶#1{朝#0|空#1{}}|署名#0}" : "")
            << rows[i].name;
    }

    // Off: no source, whatever the files hold.
    ResetStore();
    WriteStateFile(&rows[1].state);
    std::string off;
    ASSERT_TRUE(RunSheetSteps({OnSharedPage([&](HWND page) {
                                   off = ControlText(page, kStateText) + DescribeSharedTree(page);
                               }),
                               PressSheetCancel()}));
    EXPECT_EQ(off, "共有メニューは設定されていません");
    WriteStateFile(nullptr);
    WriteLocalCopy(nullptr);
}

TEST(SharedMenuPage, ACopiedItemLandsAfterTheMenuSelectionWithItsSubmenuAndIsSavedWithOk) {
    ResetStore();
    WriteStoreMenu({TextEntry("A", "a"), TextEntry("B", "b")});
    WriteStoreString("", "SharedMenu", kShare);
    WriteStoreString("", "SharedMenuTitle", "チーム");
    WriteLocalCopy(&kCopy);
    StateFile state{kShareWide, "2026-12-01 08:00:00", "4", "2026-12-01 08:00:00", "none", "", ""};
    WriteStateFile(&state);
    std::string tree, editable;
    bool applyBefore = true, applyAfter = false;
    auto copy = [](std::vector<std::string> titles) {
        return OnSharedPage([titles](HWND page) {
            SelectSharedItem(page, titles);
            PostClick(page, kCopyButton);
        });
    };
    ASSERT_TRUE(RunSheetSteps({
        OnSheet([](HWND sheet) {
            HWND menu = MenuTree(sheet);
            SelectItem(menu, FindItem(menu, {"A"}));
        }),
        OnSharedPage([&](HWND page) {
            tree = DescribeSharedTree(page);
            LONG style = GetWindowLongA(GetDlgItem(page, kSharedTree), GWL_STYLE);
            editable = (style & TVS_EDITLABELS) ? "edit " : "";
            editable += (style & TVS_DISABLEDRAGDROP) ? "" : "drag";
            applyBefore = ApplyEnabled(GetParent(page));
        }),
        copy({"挨拶"}),
        copy({"署名"}),
        OnSheet([&](HWND sheet) {
            applyAfter = ApplyEnabled(sheet);
            // With the top item selected, the whole shared menu goes last.
            SelectPage(sheet, 0);
            HWND menu = MenuTree(sheet);
            SelectItem(menu, TreeView_GetRoot(menu));
        }),
        copy({}),
        PressSheetOk(),
    }));
    EXPECT_EQ(tree, "チーム#2{挨拶#1{朝#0|空#1{}}|署名#0}");
    EXPECT_EQ(editable, "");
    EXPECT_FALSE(applyBefore);
    EXPECT_TRUE(applyAfter);
    const std::string shared = "挨拶{朝=おはようございます\r\n|空{}}|署名=サポート窓口";
    EXPECT_EQ(StoredMenu(), "A=a|" + shared + "|B=b|チーム{" + shared + "}");
    WriteStateFile(nullptr);
    WriteLocalCopy(nullptr);
}

TEST(SharedMenuPage, SettingsAreSavedOrRemovedAndOnlySafeSourcesPassOk) {
    ResetStore();
    const char* refusal =
        "共有メニューの場所は、フルパス (X:\\... や \\\\server\\share\\...) か、https:// で始まる"
        "アドレスで指定してください。\r\nhttp:// はこのPC (127.0.0.1, localhost) にだけ使えます。";
    const struct {
        const char* source;
        const char* title;
        const char* storedSource; // null: refused, the store as before
        const char* storedTitle;
    } rows[] = {
        {"\\\\server\\team\\menu.json", "チーム", "\\\\server\\team\\menu.json", "チーム"},
        {"  X:\\共有\\表.json  ", "共有", "X:\\共有\\表.json", "(none)"},
        {"https://intra.example.jp/team.json", "", "https://intra.example.jp/team.json", "(none)"},
        {"http://127.0.0.1:8080/team.json", "t", "http://127.0.0.1:8080/team.json", "t"},
        {"HTTP://LocalHost/team.json", "t", "HTTP://LocalHost/team.json", "t"},
        {"http://intra.example.jp/team.json", "x", nullptr, nullptr},
        {"http://localhost.example.jp/team.json", "x", nullptr, nullptr},
        {"http://localhost@example.jp/team.json", "x", nullptr, nullptr},
        {"http://127.0.0.1:80x/team.json", "x", nullptr, nullptr},
        {"team.json", "x", nullptr, nullptr},
        {"\\\\server\\team", "x", nullptr, nullptr},
        {"X:team.json", "x", nullptr, nullptr},
        {"https://", "x", nullptr, nullptr},
        {"ftp://example.jp/team.json", "x", nullptr, nullptr},
        {"", "チーム", "(none)", "(none)"},
    };
    const size_t count = sizeof rows / sizeof rows[0];
    std::vector<std::string> stored(count), boxes(count);
    std::vector<Step> steps;
    std::string lastSource = "(none)", lastTitle = "(none)";
    for (size_t i = 0; i < count; ++i) {
        steps.push_back(OnSharedPage([&, i](HWND page) {
            SetControlText(page, kSourceField, rows[i].source);
            SetControlText(page, kTitleField, rows[i].title);
            PostMessageA(GetParent(page), PSM_PRESSBUTTON, PSBTN_APPLYNOW, 0);
        }));
        if (!rows[i].storedSource)
            steps.push_back(AnswerMessage(&boxes[i]));
        steps.push_back(OnSheet([&, i](HWND) {
            stored[i] = StoredRootString("SharedMenu") + "|" + StoredRootString("SharedMenuTitle");
        }));
    }
    // OK pressed on another page brings the page with the refused source back.
    std::string okBox, okTab, okStored;
    steps.push_back(OnSharedPage([](HWND page) {
        SetControlText(page, kSourceField, "http://intra.example.jp/team.json");
        SelectPage(GetParent(page), 0);
        PostMessageA(GetParent(page), PSM_PRESSBUTTON, PSBTN_OK, 0);
    }));
    steps.push_back(AnswerMessage(&okBox));
    steps.push_back(OnSheet([&](HWND sheet) {
        okTab = CurrentTabTitle(sheet);
        okStored = StoredRootString("SharedMenu");
    }));
    steps.push_back(PressSheetCancel());
    ASSERT_TRUE(RunSheetSteps(steps, 60000));
    EXPECT_EQ(okBox, refusal);
    EXPECT_EQ(okTab, "共有メニュー");
    EXPECT_EQ(okStored, "(none)");
    for (size_t i = 0; i < count; ++i) {
        if (rows[i].storedSource) {
            lastSource = rows[i].storedSource;
            lastTitle = rows[i].storedTitle;
        }
        EXPECT_EQ(stored[i], lastSource + "|" + lastTitle) << rows[i].source;
        EXPECT_EQ(boxes[i], rows[i].storedSource ? "" : refusal) << rows[i].source;
    }
}
