// The page "バックアップ" of the real sheet of Vandry.dll, driven as a user
// would: export, import in both ways, refused files, the clash question and
// a file that cannot be written.
#include <gtest/gtest.h>

#include "backup_steps.h"
#include "store_reset.h"
#include "tests/settings/temp_folder.h"

namespace {
const int kTitleBox = 1003;
const int kOverwriteBox = 1013;

// Three levels with Japanese titles, CR LF texts, an empty title, a text of
// 5,000 bytes and an empty submenu.
std::vector<StoreEntry> SampleMenu() {
    std::string longText;
    while (longText.size() < 4990)
        longText += "長い文章 line\r\n";
    longText.resize(5000, 'x');
    return {
        Submenu("リンク集", {TextEntry("検索", "https://www.example.jp/search?q=天気"),
                             Submenu("社内", {TextEntry("日報", "本日の作業:\r\n・\r\n"),
                                              Submenu("空のサブメニュー", {})})}),
        TextEntry("", "題のない項目"),
        TextEntry("長文", longText),
        TextEntry("署名", "――\r\n山田 太郎\r\n"),
    };
}

// A submenu chain levels deep in a backup file, the last one empty.
std::string ChainFile(int levels) {
    std::string open, close;
    for (int i = 0; i < levels; ++i) {
        open += "[{\"title\":\"s\",\"submenu\":";
        close = "}]" + close;
    }
    return "{\"format\":\"Tevrix menu\",\"version\":1,\"menu\":" + open + "[]" + close + "}";
}

int StoreLevels(const std::vector<StoreEntry>& entries) {
    int deepest = 0;
    for (const StoreEntry& entry : entries) {
        int levels = 1 + (entry.type == 1 ? StoreLevels(entry.children) : 0);
        deepest = levels > deepest ? levels : deepest;
    }
    return deepest;
}
} // namespace

TEST(BackupSheet, ExportThenImportEitherWayGivesTheSameTreeAndStore) {
    ResetStore();
    WriteStoreMenu(SampleMenu());
    std::string original = StoredMenu();
    TempFolder folder;
    std::string path = folder.PathOf("バックアップ.json");
    std::string loaded, replaced;
    ASSERT_TRUE(RunSheetSteps(Steps({{ReadTreeInto(&loaded)},
                                     ExportTo(path),
                                     ImportFrom(path, true),
                                     {ReadTreeInto(&replaced), PressSheetOk()}})));
    EXPECT_EQ(replaced, loaded);
    EXPECT_EQ(StoredMenu(), original);

    std::string added;
    ASSERT_TRUE(
        RunSheetSteps(Steps({ImportFrom(path, false), {ReadTreeInto(&added), PressSheetOk()}})));
    std::string menu = loaded.substr(std::string("Tevrix#2{").size());
    menu.pop_back();
    EXPECT_EQ(added, "Tevrix#2{" + menu + "|バックアップ#1{" + menu + "}}");
    EXPECT_EQ(StoredMenu(), original + "|バックアップ{" + original + "}");
}

TEST(BackupSheet, ExportTakesEditsNotYetSaved) {
    ResetStore();
    WriteStoreMenu({TextEntry("古い題", "古い文字列")});
    TempFolder folder;
    std::string path = folder.PathOf("edited.json");
    ASSERT_TRUE(RunSheetSteps(Steps({{OnSheet([](HWND sheet) {
                                         HWND tree = MenuTree(sheet);
                                         HTREEITEM item = FindItem(tree, {"古い題"});
                                         SelectItem(tree, item);
                                         TypeInStringBox(sheet, "新しい\r\n文字列");
                                         EditTitle(tree, item, "新しい題");
                                     })},
                                     ExportTo(path),
                                     {PressSheetCancel()}})));
    EXPECT_EQ(StoredMenu(), "古い題=古い文字列");
    std::string imported;
    ASSERT_TRUE(RunSheetSteps(
        Steps({ImportFrom(path, true), {ReadTreeInto(&imported), PressSheetCancel()}})));
    EXPECT_EQ(imported, "Tevrix#2{新しい題#0=新しい\r\n文字列}");
}

TEST(BackupSheet, EachBadFileIsRefusedWithItsReasonAndChangesNothing) {
    ResetStore();
    WriteStoreMenu({Submenu("リンク", {TextEntry("Site", "http://example.jp/")})});
    std::string original = StoredMenu();
    TempFolder folder;
    const struct {
        const char* name;
        std::string bytes;
        const char* reason;
    } files[] = {
        {"text.json", "Just some notes\r\n", "JSON形式のファイルではありません"},
        {"cut.json", "{\"format\":\"Tevrix menu\",\"version\":1,\"menu\":[{\"title\":\"a\",",
         "JSON形式のファイルではありません"},
        {"other.json", "{\"format\":\"Other notes\",\"version\":1,\"menu\":[]}",
         "Tevrixのメニューのファイルではありません"},
        {"newer.json", "{\"format\":\"Tevrix menu\",\"version\":2,\"menu\":[]}",
         "新しい版のTevrixで保存されたファイルのため読み込めません"},
        // Shift-JIS titles, as a file saved in the wrong encoding holds them.
        {"sjis.json", "{\"format\":\"Tevrix menu\",\"version\":1,\"menu\":[{\"title\":\"日本\"}]}",
         "UTF-8として正しくない文字があります"},
        {"deep.json", ChainFile(257), "サブメニューの階層が深すぎます(256階層まで)"},
        {"mixed.json",
         "{\"format\":\"Tevrix menu\",\"version\":1,\"menu\":[{\"text\":\"a\",\"submenu\":[]}]}",
         "メニューの形式が正しくありません"},
        {"large.json", "", "ファイルが大きすぎます(64MBまで)"},
    };
    std::vector<Step> steps;
    std::string before;
    steps.push_back(ReadTreeInto(&before));
    struct Seen {
        std::string reason, tree;
        bool applyEnabled = true;
    };
    std::vector<Seen> seen(sizeof files / sizeof files[0]);
    for (size_t i = 0; i < seen.size(); ++i) {
        std::string path = folder.WriteFile(files[i].name, files[i].bytes);
        steps.push_back(ClickOnBackupPage(kImportButton));
        steps.push_back(ChooseFile(path));
        steps.push_back(AnswerMessage(&seen[i].reason));
        steps.push_back(ReadTreeInto(&seen[i].tree, &seen[i].applyEnabled));
    }
    steps.push_back(PressSheetOk());
    // One byte over 64 MB, made without writing it all.
    HANDLE large = CreateFileA(folder.PathOf("large.json").c_str(), GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = 64LL * 1024 * 1024 + 1;
    ASSERT_TRUE(SetFilePointerEx(large, size, nullptr, FILE_BEGIN) && SetEndOfFile(large));
    CloseHandle(large);

    ASSERT_TRUE(RunSheetSteps(steps, 60000));
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].reason, files[i].reason) << files[i].name;
        EXPECT_EQ(seen[i].tree, before) << files[i].name;
        EXPECT_FALSE(seen[i].applyEnabled) << files[i].name;
    }
    EXPECT_EQ(StoredMenu(), original);
}

TEST(BackupSheet, TheDeepestMenuReplacesButCannotBecomeASubmenu) {
    ResetStore();
    WriteStoreMenu({TextEntry("残る", "x")});
    TempFolder folder;
    std::string path = folder.WriteFile("chain.json", ChainFile(256));
    std::string refusal, kept;
    ASSERT_TRUE(RunSheetSteps(Steps({ImportFrom(path, false),
                                     {AnswerMessage(&refusal), ReadTreeInto(&kept)},
                                     ImportFrom(path, true),
                                     {PressSheetOk()}})));
    EXPECT_EQ(refusal, "サブメニューの階層が深すぎます(256階層まで)");
    EXPECT_EQ(kept, "Tevrix#2{残る#0=x}");
    std::vector<StoreEntry> stored;
    ASSERT_TRUE(ReadStoreMenu(&stored));
    EXPECT_EQ(StoreLevels(stored), 256);
}

TEST(BackupSheet, CharactersWithoutShiftJisFormAreCountedAsTheyBecomeQuestionMarks) {
    ResetStore();
    TempFolder folder;
    std::string path =
        folder.WriteFile("emoji.json", u8"{\"format\":\"Tevrix menu\",\"version\":1,\"menu\":["
                                       u8"{\"title\":\"顔😀\",\"text\":\"\u00A5100\\u0000\"}]}");
    std::string notice, tree;
    ASSERT_TRUE(
        RunSheetSteps(Steps({ImportFrom(path, true),
                             {AnswerMessage(&notice), ReadTreeInto(&tree), PressSheetCancel()}})));
    EXPECT_EQ(notice, "Shift-JISにない文字が3文字あり、「?」に置き換えました");
    EXPECT_EQ(tree, "Tevrix#2{顔?#0=?100?}");
}

TEST(BackupSheet, ATakenTitleAsksAsTheFavoritesImportDoesAndMayOverwrite) {
    ResetStore();
    WriteStoreMenu({Submenu("共有", {TextEntry("old", "old")}), TextEntry("後", "after")});
    TempFolder folder;
    std::string path = folder.PathOf("共有.json");
    std::string clash, caption, offered, tree;
    ASSERT_TRUE(RunSheetSteps(Steps({
        {OnSheet([](HWND sheet) {
            HWND tree = MenuTree(sheet);
            SelectItem(tree, FindItem(tree, {"後"}));
            TypeInStringBox(sheet, "new");
        })},
        ExportTo(path),
        ImportFrom(path, false),
        {AnswerMessage(&clash),
         [&](HWND top) {
             if (!GetDlgItem(top, kOverwriteBox))
                 return false;
             caption = WindowText(top);
             offered = ControlText(top, kTitleBox);
             SendDlgItemMessageA(top, kOverwriteBox, BM_SETCHECK, BST_CHECKED, 0);
             PostClick(top, IDOK);
             return true;
         },
         ReadTreeInto(&tree), PressSheetCancel()},
    })));
    EXPECT_EQ(clash, "共有 はすでに存在します");
    EXPECT_EQ(caption, kImportCaption);
    EXPECT_EQ(offered, "共有");
    EXPECT_EQ(tree, "Tevrix#2{後#0=new|共有#1{共有#1{old#0=old}|後#0=new}}");
}

TEST(BackupSheet, AFileThatCannotBeReplacedKeepsItsContentAndIsReported) {
    ResetStore();
    WriteStoreMenu({TextEntry("a", "b")});
    TempFolder folder;
    std::string path = folder.WriteFile("locked.json", "old content");
    // Another program holds the file open, sharing nothing.
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string reason;
    ASSERT_TRUE(RunSheetSteps(Steps({ExportTo(path),
                                     {[](HWND top) {
                                          // The Save dialog asks before it overwrites.
                                          if (!GetDlgItem(top, IDYES))
                                              return false;
                                          PostClick(top, IDYES);
                                          return true;
                                      },
                                      AnswerMessage(&reason), PressSheetCancel()}})));
    EXPECT_EQ(reason, "ファイルに保存できませんでした");
    CloseHandle(held);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    char content[64] = "";
    DWORD read = 0;
    ReadFile(file, content, sizeof content - 1, &read, nullptr);
    CloseHandle(file);
    EXPECT_STREQ(content, "old content");
    // Nothing but the file itself is left in the folder.
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(folder.PathOf("*.tmp").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE);
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

TEST(BackupSheet, AMenuDeeperThanAFileMayHoldIsNotExported) {
    StoreEntry deepest = Submenu("s", {});
    for (int level = 1; level < 257; ++level)
        deepest = Submenu("s", {deepest});
    ResetStore();
    WriteStoreMenu({deepest});
    TempFolder folder;
    std::string path = folder.PathOf("deep.json");
    std::string refusal;
    ASSERT_TRUE(
        RunSheetSteps(Steps({ExportTo(path), {AnswerMessage(&refusal), PressSheetCancel()}})));
    EXPECT_EQ(refusal, "サブメニューの階層が深すぎるため保存できません(256階層まで)");
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

// The tree refuses one of the import's insertions, in each way of importing:
// the tree stays as it was (the overwritten submenu too) and one box says so.
TEST(BackupSheet, ARefusedInsertionLeavesTheTreeAsItWasAndSaysSoOnce) {
    TempFolder folder;
    const std::string file = u8"{\"format\":\"Tevrix menu\",\"version\":1,\"menu\":["
                             u8"{\"title\":\"s\",\"submenu\":[{\"title\":\"a\",\"text\":\"1\"}]},"
                             u8"{\"title\":\"b\",\"text\":\"2\"}]}";
    const struct {
        const char* name;
        bool replace;
        const char* after; // the tree after the run without a refusal
    } ways[] = {
        {"new.json", true, "Tevrix#2{s#1{a#0=1}|b#0=2}"},
        {"new.json", false, "Tevrix#2{共有#1{old#0=old}|後#0=after|new#1{s#1{a#0=1}|b#0=2}}"},
        {"共有.json", false, "Tevrix#2{後#0=after|共有#1{s#1{a#0=1}|b#0=2}}"},
    };
    for (const auto& way : ways) {
        std::string path = folder.WriteFile(way.name, file);
        bool clash = std::string(way.name) != "new.json";
        std::string before, after, failure, notice;
        bool applyEnabled = true;
        RefusedInsertRuns runs;
        runs.prepare = [&] {
            ResetStore();
            WriteStoreMenu({Submenu("共有", {TextEntry("old", "old")}), TextEntry("後", "after")});
            failure.clear();
        };
        runs.steps = [&](long refused) {
            std::vector<Step> steps = {ReadTreeInto(&before)};
            for (const Step& step : ImportFrom(path, way.replace))
                steps.push_back(step);
            if (clash) {
                steps.push_back(AnswerMessage(&notice));
                steps.push_back([](HWND top) {
                    if (!GetDlgItem(top, kOverwriteBox))
                        return false;
                    SendDlgItemMessageA(top, kOverwriteBox, BM_SETCHECK, BST_CHECKED, 0);
                    PostClick(top, IDOK);
                    return true;
                });
            }
            if (refused >= 0)
                steps.push_back(AnswerMessage(&failure));
            steps.push_back(ReadTreeInto(&after, &applyEnabled));
            steps.push_back(PressSheetCancel());
            return steps;
        };
        runs.check = [&](long refused) {
            if (refused < 0) {
                EXPECT_EQ(after, way.after) << way.name;
                return;
            }
            EXPECT_EQ(failure, "メニューを読み込めませんでした") << way.name << refused;
            EXPECT_EQ(after, before) << way.name << refused;
            EXPECT_FALSE(applyEnabled) << way.name << refused;
        };
        // The new top item or submenu, and the file's three items.
        EXPECT_EQ(RunRefusingEachInsert(runs), 4) << way.name;
    }
}
