// The page "バックアップ" and its operations in this program (the editor's
// classes and resources linked in): a sheet opened on the page before the
// menu page was ever shown, and imports whose item strings cannot be had.
#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <new>

#include "backup_steps.h"
#include "framework/property_sheet.h"
#include "modal_closer.h"
#include "settings/backup/backup_page.h"
#include "settings/backup/menu_backup.h"
#include "settings/resources/resource.h"
#include "settings/sheet/setting_sheet.h"
#include "store_reset.h"
#include "tests/hostile/page_session.h"
#include "tests/settings/temp_folder.h"

namespace {
// Array allocations (the tree items' strings) left before they fail; -1 none fail.
long g_arraysLeft = -1;

std::string Describe(OpenUrlPage& page, HTREEITEM item) {
    std::string description;
    for (HTREEITEM child = page.Tree().GetChildItem(item); child;
         child = page.Tree().GetNextSiblingItem(child)) {
        description += page.Tree().GetItemText(child);
        const char* text = page.ItemString(child);
        description += text ? std::string("=") + text : "{" + Describe(page, child) + "}";
        description += "|";
    }
    return description;
}

std::string Describe(OpenUrlPage& page) {
    std::string description;
    for (HTREEITEM top = page.Tree().GetRootItem(); top; top = page.Tree().GetNextSiblingItem(top))
        description += page.Tree().GetItemText(top) + "{" + Describe(page, top) + "}";
    return description;
}
} // namespace

void* operator new[](std::size_t size) {
    if (g_arraysLeft == 0)
        throw std::bad_alloc();
    if (g_arraysLeft > 0)
        --g_arraysLeft;
    void* block = std::malloc(size ? size : 1);
    if (!block)
        throw std::bad_alloc();
    return block;
}

void operator delete[](void* block) noexcept {
    std::free(block);
}

void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}

TEST(BackupPage, ASheetOpenedOnThePageExportsTheStoredMenu) {
    ResetStore();
    WriteStoreMenu({Submenu("リンク", {TextEntry("Site", "http://example.jp/")}),
                    TextEntry("署名", "山田\r\n")});
    TempFolder folder;
    std::string path = folder.PathOf("menu.json");
    std::vector<Step> steps =
        Steps({{OnSheet([](HWND sheet) { PostClick(CurrentPage(sheet), kExportButton); })},
               {ChooseFile(path), PressSheetCancel()}});
    size_t next = 0;
    ModalCloser closer([&] {
        HWND top = FindThreadWindow("#32770");
        if (top && next < steps.size() && steps[next](top))
            ++next;
    });
    {
        CURLPage menuPage;
        CBackupPage backupPage(menuPage, 0);
        CPropertySheet sheet(IDS_SHEET_CAPTION, nullptr, 1);
        sheet.AddPage(&menuPage);
        sheet.AddPage(&backupPage);
        sheet.DoModal();
    }
    ASSERT_EQ(next, steps.size());

    ResetStore();
    LoadedBackup backup;
    ASSERT_EQ(LoadBackup(path.c_str(), backup), BackupError::kNone);
    std::string read;
    for (const BackupEntry& entry : backup.entries)
        read += std::to_string(entry.depth) + entry.title + "=" + entry.text + ";";
    EXPECT_EQ(read, "0リンク=;1Site=http://example.jp/;0署名=山田\r\n;");
}

TEST(BackupPage, AnImportThatRunsOutOfMemoryLeavesTheTreeAsItWas) {
    ResetStore();
    WriteStoreMenu({TextEntry("残る", "x"), Submenu("空", {})});
    TempFolder folder;
    std::string path = folder.WriteFile(
        "four.json", u8"{\"format\":\"Tevrix menu\",\"version\":1,\"menu\":["
                     u8"{\"title\":\"a\",\"text\":\"1\"},{\"title\":\"b\",\"submenu\":["
                     u8"{\"title\":\"c\",\"text\":\"2\"},{\"title\":\"d\",\"submenu\":["
                     u8"{\"title\":\"e\",\"text\":\"3\"}]}]},{\"title\":\"f\",\"text\":\"4\"}]}");
    const char kImported[] = "a=1|b{c=2|d{e=3|}|}|f=4|";
    for (bool replace : {true, false}) {
        std::string before, after;
        long failures = 0;
        ASSERT_TRUE(WithUrlPage(
            [&](OpenUrlPage& page) {
                before = Describe(page);
                LoadedBackup backup;
                ASSERT_EQ(LoadBackup(path.c_str(), backup), BackupError::kNone);
                // The first attempt gets no string at all, each next one more.
                for (long allowed = 0; allowed < 10; ++allowed) {
                    g_arraysLeft = allowed;
                    bool imported = replace
                                        ? ReplaceMenu(page, backup)
                                        : AddMenuAsSubmenu(page, backup, "new", nullptr) != nullptr;
                    g_arraysLeft = -1;
                    if (imported)
                        break;
                    ++failures;
                    ASSERT_EQ(Describe(page), before) << allowed;
                }
                after = Describe(page);
            },
            30000));
        EXPECT_EQ(failures, 4) << replace; // one per text entry of the file
        EXPECT_EQ(after, replace ? std::string("Tevrix{") + kImported + "}"
                                 : "Tevrix{残る=x|空{}|new{" + std::string(kImported) + "}|}")
            << replace;
    }
}

TEST(BackupPage, ExportCountsTheBytesItWritesAsQuestionMarks) {
    ResetStore();
    std::string file;
    int unconvertible = -1;
    ASSERT_TRUE(WithUrlPage(
        [&](OpenUrlPage& page) {
            // The store holds no such bytes, but an HTML file read into an
            // entry's text may.
            page.InsertTextEntry(page.TopItem(), TVI_LAST, "a", "x\x85\x40\x82");
            unconvertible = 0;
            ExportMenu(page, file, unconvertible);
        },
        30000));
    EXPECT_EQ(unconvertible, 2);
    EXPECT_NE(file.find("\"text\": \"x?@?\""), std::string::npos) << file;
}

TEST(BackupPage, AMenuThatFailedToLoadIsNeitherExportedNorImportedInto) {
    ResetStore();
    WriteStoreMenu({TextEntry("a", "b"), TextEntry("c", "d")});
    TempFolder folder;
    std::string path = folder.PathOf("half.json");
    std::string loadFailure, onExport, onImport;
    std::vector<Step> steps =
        Steps({{[&](HWND top) {
                    // The failure box of the load; the
                    // strings can be had again from now on.
                    g_arraysLeft = -1;
                    return AnswerMessage(&loadFailure)(top);
                },
                ClickOnBackupPage(kExportButton), AnswerMessage(&onExport),
                ClickOnBackupPage(kImportButton), AnswerMessage(&onImport), PressSheetOk()}});
    size_t next = 0;
    ModalCloser closer([&] {
        HWND top = FindThreadWindow("#32770");
        if (top && next < steps.size() && steps[next](top))
            ++next;
    });
    g_arraysLeft = 0;
    {
        CSettingSheet sheet(nullptr);
        sheet.DoModal();
    }
    g_arraysLeft = -1;
    EXPECT_EQ(next, steps.size());
    EXPECT_FALSE(loadFailure.empty());
    const char kRefusal[] =
        "メニューを最後まで読み込めなかったため、エクスポートもインポートもできません";
    EXPECT_EQ(onExport, kRefusal);
    EXPECT_EQ(onImport, kRefusal);
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(StoredMenu(), "a=b|c=d");
}

TEST(BackupPage, ImportedTextsGetCrLfLineEndsWhileExportsKeepTheirs) {
    const struct {
        const char* json; // the text as the file escapes it
        const char* stored;
    } cases[] = {
        {"a\\nb", "a\r\nb"},    {"a\\rb", "a\r\nb"},        {"a\\r\\nb", "a\r\nb"},
        {"\\n\\n", "\r\n\r\n"}, {"a\\n\\rb", "a\r\n\r\nb"}, {"a\\r\\r\\nb", "a\r\n\r\nb"},
        {"end\\r", "end\r\n"},  {"none", "none"},
    };
    std::string menu;
    for (const auto& c : cases)
        menu +=
            std::string(menu.empty() ? "" : ",") + "{\"title\":\"t\",\"text\":\"" + c.json + "\"}";
    menu += ",{\"title\":\"title\\nkept\",\"text\":\"\"}";
    TempFolder folder;
    std::string path = folder.WriteFile(
        "line_ends.json", "{\"format\":\"Tevrix menu\",\"version\":1,\"menu\":[" + menu + "]}");
    LoadedBackup backup;
    ASSERT_EQ(LoadBackup(path.c_str(), backup), BackupError::kNone);
    ASSERT_EQ(backup.entries.size(), std::size(cases) + 1);
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(backup.entries[i].text, cases[i].stored) << cases[i].json;
    EXPECT_EQ(backup.entries.back().title, "title\nkept");

    // A store that holds a bare LF exports it as it is.
    ResetStore();
    std::string file;
    ASSERT_TRUE(WithUrlPage(
        [&](OpenUrlPage& page) {
            page.InsertTextEntry(page.TopItem(), TVI_LAST, "a", "x\ny\r\nz");
            int unconvertible = 0;
            ExportMenu(page, file, unconvertible);
        },
        30000));
    EXPECT_NE(file.find("\"text\": \"x\\ny\\r\\nz\""), std::string::npos) << file;
}
