// "共有メニューとして書き出す" on the page バックアップ of the real sheet: the
// whole menu replaces the shared file in one step, an interrupted write
// leaves the old file whole, and another maintainer's write is not
// overwritten without asking.
#include <gtest/gtest.h>

#include "held_file.h"
#include "import_patch.h"
#include "shared_menu_steps.h"
#include "store_reset.h"
#include "tests/settings/temp_folder.h"

namespace {
bool FolderHasTemporaryFiles(const TempFolder& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(folder.PathOf("*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}

// A "Tevrix" box on top: records its text and presses the button.
Step AnswerBox(std::string* text, int button) {
    return When(kMessageCaption, [text, button](HWND box) {
        *text = MessageBoxText(box);
        PostClick(box, button);
    });
}

// Writes half of what it is given and then fails, as a full disk or a share
// that goes away does.
void* g_originalWriteFile = nullptr;
BOOL WINAPI HalfWriteFile(HANDLE file, const void* data, DWORD size, DWORD* written,
                          OVERLAPPED* overlapped) {
    auto original = reinterpret_cast<decltype(&WriteFile)>(g_originalWriteFile);
    original(file, data, size / 2, written, overlapped);
    SetLastError(ERROR_NETNAME_DELETED);
    return FALSE;
}

const std::string kChanged = "changed by another maintainer";

std::wstring Wide(const std::string& path) {
    WCHAR wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    return wide;
}
} // namespace

TEST(SharedMenuExport, TheWholeMenuReplacesTheFileAndNoTemporaryFileStays) {
    ResetStore();
    WriteStoreMenu({Submenu("挨拶", {TextEntry("朝", "おはようございます\r\n")}),
                    TextEntry("署名", "サポート窓口")});
    TempFolder folder;
    std::string shared = folder.WriteFile("team.json", "the old shared menu");
    std::string backup = folder.PathOf("backup.json");
    WriteStoreString("", "SharedMenu", shared);
    ASSERT_TRUE(RunSheetSteps(
        Steps({{ClickOnBackupPage(kExportSharedButton)}, ExportTo(backup), {PressSheetCancel()}})));
    EXPECT_EQ(FileBytes(shared), FileBytes(backup));
    EXPECT_NE(FileBytes(shared).find(u8"\"挨拶\""), std::string::npos);
    EXPECT_FALSE(FolderHasTemporaryFiles(folder));

    // Interrupted half way: the readers keep the whole old file.
    folder.WriteFile("team.json", "the old shared menu");
    HMODULE editor = LoadLibraryA("Vandry.dll");
    std::string reason;
    {
        ImportPatch patch(editor, "KERNEL32.dll", "WriteFile",
                          reinterpret_cast<void*>(&HalfWriteFile));
        ASSERT_TRUE(patch.Patched());
        g_originalWriteFile = patch.Original();
        ASSERT_TRUE(RunSheetSteps({ClickOnBackupPage(kExportSharedButton), AnswerBox(&reason, IDOK),
                                   PressSheetCancel()}));
    }
    FreeLibrary(editor);
    EXPECT_EQ(reason, "共有メニューのファイルに書き出せませんでした");
    EXPECT_EQ(FileBytes(shared), "the old shared menu");
    EXPECT_FALSE(FolderHasTemporaryFiles(folder));
}

TEST(SharedMenuExport, AnotherWritersChangeIsOverwrittenOnlyWhenTheUserSaysSo) {
    ResetStore();
    WriteStoreMenu({TextEntry("mine", "my text")});
    TempFolder folder;
    std::string shared = folder.WriteFile("team.json", "as the sheet opened");
    WriteStoreString("", "SharedMenu", shared);
    std::string address, askedFirst, askedAgain, written;
    auto changeFile = OnSheet([&](HWND) { folder.WriteFile("team.json", kChanged); });
    ASSERT_TRUE(RunSheetSteps({
        // An address typed on the page, not yet saved, is where it would go.
        OnSharedPage([](HWND page) {
            SetControlText(page, kSourceField, "https://intra.example.jp/team.json");
        }),
        ClickOnBackupPage(kExportSharedButton),
        AnswerBox(&address, IDOK),
        OnSharedPage([&](HWND page) { SetControlText(page, kSourceField, shared); }),
        changeFile,
        ClickOnBackupPage(kExportSharedButton),
        AnswerBox(&askedFirst, IDNO),
        OnSheet([&](HWND) { written = FileBytes(shared); }),
        ClickOnBackupPage(kExportSharedButton),
        AnswerBox(&askedAgain, IDYES),
        // Written by this sheet now: the next export asks nothing (a box
        // would stop the steps before Cancel).
        ClickOnBackupPage(kExportSharedButton),
        PressSheetCancel(),
    }));
    EXPECT_EQ(address, "共有メニューの場所がアドレスのため書き出せません。書き出せるのは、"
                       "ファイルのパス(共有フォルダーなど)だけです。");
    EXPECT_EQ(askedFirst, shared + "\r\nは、この設定画面で最後に読み書きした後に、ほかの人によって"
                                   "変更されています。\r\n上書きしますか?");
    EXPECT_EQ(askedAgain, askedFirst);
    EXPECT_EQ(written, kChanged);
    EXPECT_NE(FileBytes(shared).find("my text"), std::string::npos);
}

// The system refuses to replace a file that anyone holds open, and every
// team member's plug-in opens the shared file to read it.
TEST(SharedMenuExport, AReadingTeamMemberDelaysTheExportAndOneThatNeverLetsGoFailsIt) {
    ResetStore();
    WriteStoreMenu({TextEntry("mine", "my text")});
    const struct {
        DWORD holdMs;
        bool written;
    } cases[] = {{500, true}, {6500, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.holdMs);
        TempFolder folder;
        std::string shared = folder.WriteFile("team.json", "the old shared menu");
        WriteStoreString("", "SharedMenu", shared);
        std::string reason;
        {
            HeldFile reader(Wide(shared), c.holdMs);
            ASSERT_TRUE(reader.Opened());
            std::vector<Step> steps = {ClickOnBackupPage(kExportSharedButton)};
            if (!c.written)
                steps.push_back(AnswerBox(&reason, IDOK));
            steps.push_back(PressSheetCancel());
            ASSERT_TRUE(RunSheetSteps(steps));
        }
        if (c.written) {
            EXPECT_NE(FileBytes(shared).find("my text"), std::string::npos);
        } else {
            EXPECT_EQ(reason, "共有メニューのファイルに書き出せませんでした");
            EXPECT_EQ(FileBytes(shared), "the old shared menu");
        }
        EXPECT_FALSE(FolderHasTemporaryFiles(folder));
    }
}
