// The picker "検索して挿入..." in a compose window: driven as a user drives
// it, by keys posted from a timer inside its modal loop, and the popup it is
// added to, which keeps every other item as it was.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <functional>
#include <string>
#include <vector>

#include "host/host_stub.h"
#include "modal_closer.h"
#include "tests/plugin/plugin_harness.h"
#include "store_reset.h"

namespace {

const int kQueryId = 1010;
const int kListId = 1011;
const char kPickerTitle[] = "検索して挿入...";

void WriteMixedMenu() {
    WriteTextEntry("URL", 0, "ポータル", "ニュースとブログ");
    WriteTextEntry("URL", 1, "Google 検索", "https://www.google.co.jp/");
    std::string news = WriteSubmenuEntry("URL", 2, "ニュース");
    WriteTextEntry(news, 0, "ＮＨＫ ニュース", "https://www3.nhk.or.jp/news/");
    WriteTextEntry(news, 1, "Yahoo!ニュース", "https://news.yahoo.co.jp/");
    WriteTextEntry("URL", 3, "署名", "山田 太郎\r\nOstrel");
}

// What the user saw and did in the picker.
struct PickerRun {
    std::vector<std::string> rowsAfterTyping; // "title / submenus"
    int selectedAfterMove = -1;
    bool focusStayedInQuery = false;
    bool openAfterFinalKey = false; // then Escape closed it
    bool timedOut = false;
};

HWND PickerWindow() {
    HWND dialog = FindThreadWindow("#32770");
    return dialog && GetDlgItem(dialog, kListId) ? dialog : nullptr;
}

std::string CellText(HWND list, int row, int column) {
    char text[256] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

void PostKey(HWND window, UINT key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

// Chooses the picker item, types query key by key, runs whileOpen, presses
// Down `downs` times and ends with `finalKey` (VK_RETURN or VK_ESCAPE).
PickerRun DrivePicker(const ComposeEditor& editor, UINT pickerId, const std::string& query,
                      int downs, UINT finalKey, const std::function<void()>& whileOpen = {}) {
    PickerRun run;
    int step = 0;
    ModalCloser closer([&] {
        HWND dialog = PickerWindow();
        if (!dialog)
            return;
        HWND edit = GetDlgItem(dialog, kQueryId);
        HWND list = GetDlgItem(dialog, kListId);
        switch (step++) {
        case 0:
            SetFocus(edit);
            for (char c : query)
                PostMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
            break;
        case 1: {
            int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
            for (int row = 0; row < rows; ++row)
                run.rowsAfterTyping.push_back(CellText(list, row, 0) + " / " +
                                              CellText(list, row, 1));
            if (whileOpen)
                whileOpen();
            for (int i = 0; i < downs; ++i)
                PostKey(edit, VK_DOWN);
            break;
        }
        case 2:
            run.selectedAfterMove = static_cast<int>(
                SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
            run.focusStayedInQuery = GetFocus() == edit;
            PostKey(edit, finalKey);
            break;
        case 3:
            run.openAfterFinalKey = true;
            PostKey(edit, VK_ESCAPE);
            break;
        default:
            break;
        }
    });
    editor.Choose(pickerId);
    run.timedOut = closer.TimedOut();
    return run;
}

class Picker : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(Plugin().module, nullptr);
        ResetStore();
        host::ForgetRegistrations();
        WriteMixedMenu();
    }
    void TearDown() override {
        Plugin().CleanUp();
        ResetStore();
    }
};

TEST_F(Picker, TypingFiltersDownMovesAndEnterInsertsAtTheCaret) {
    WriteStoreNumber("", "UsePicker", 1);
    HMENU menu = BuildComposeMenu();
    HMENU popup = TextPopup(menu);
    std::vector<MenuItem> items = ReadMenu(popup);
    ASSERT_GE(items.size(), 2u);
    ASSERT_EQ(items[0].text, kPickerTitle);

    ComposeEditor editor;
    editor.SetText("Dear ,", 5, 5);
    PickerRun run = DrivePicker(editor, items[0].id, "news", 1, VK_RETURN);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.rowsAfterTyping,
              (std::vector<std::string>{"ＮＨＫ ニュース / ニュース", "Yahoo!ニュース / ニュース"}))
        << "the text and the submenu's name are matched, ASCII in any width";
    EXPECT_EQ(run.selectedAfterMove, 1);
    EXPECT_TRUE(run.focusStayedInQuery);
    EXPECT_EQ(editor.Text(), "Dear https://news.yahoo.co.jp/,");
    EXPECT_FALSE(IsMenu(popup)) << "the popups are torn down as after a menu choice";
    DestroyMenu(menu);
}

TEST_F(Picker, EscapeInsertsNothingAndEnterOnNoMatchKeepsThePickerOpen) {
    WriteStoreNumber("", "UsePicker", 1);
    HMENU menu = BuildComposeMenu();
    UINT pickerId = ReadMenu(TextPopup(menu))[0].id;
    ComposeEditor editor;
    editor.SetText("keep", 2, 2);
    PickerRun escaped = DrivePicker(editor, pickerId, "google", 0, VK_ESCAPE);
    EXPECT_FALSE(escaped.timedOut);
    EXPECT_FALSE(escaped.openAfterFinalKey);
    EXPECT_EQ(escaped.rowsAfterTyping, (std::vector<std::string>{"Google 検索 / "}));
    EXPECT_EQ(editor.Text(), "keep");

    // Nothing matches: Enter has nothing to insert and leaves the picker open.
    PickerRun nothing = DrivePicker(editor, pickerId, "zzz", 0, VK_RETURN);
    EXPECT_FALSE(nothing.timedOut);
    EXPECT_TRUE(nothing.rowsAfterTyping.empty());
    EXPECT_TRUE(nothing.openAfterFinalKey);
    EXPECT_EQ(editor.Text(), "keep");
    DestroyMenu(menu);
}

// The picker leaves the host's other windows usable: a menu built for another
// compose window while it is open reads the changed store afresh, and the
// choice still inserts the text the picker showed.
TEST_F(Picker, AMenuBuiltWhileItIsOpenLeavesTheChoiceAlone) {
    WriteStoreNumber("", "UsePicker", 1);
    HMENU menu = BuildComposeMenu();
    UINT pickerId = ReadMenu(TextPopup(menu))[0].id;
    ComposeEditor editor;
    editor.SetText("", 0, 0);
    PickerRun run = DrivePicker(editor, pickerId, "yahoo", 0, VK_RETURN, [] {
        ResetStore();
        WriteStoreNumber("", "UsePicker", 1);
        for (int i = 0; i < 6; ++i)
            WriteTextEntry("URL", i, "other", "replaced " + std::to_string(i));
        DestroyMenu(BuildComposeMenu());
    });
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.rowsAfterTyping, (std::vector<std::string>{"Yahoo!ニュース / ニュース"}));
    EXPECT_EQ(editor.Text(), "https://news.yahoo.co.jp/");
    DestroyMenu(menu);
}

TEST_F(Picker, SettingOffGivesTodaysPopupAndOnKeepsEveryItem) {
    struct Build {
        std::vector<MenuItem> items;
        std::vector<LPARAM> data;
        std::vector<UINT> submenuIds;
    };
    auto build = [](const char* usePicker) {
        if (usePicker)
            WriteStoreNumber("", "UsePicker", usePicker[0] - '0');
        host::ForgetRegistrations();
        HMENU menu = BuildComposeMenu();
        HMENU popup = TextPopup(menu);
        Build b{ReadMenu(popup), DataValues(popup), {}};
        for (const MenuItem& item :
             ReadMenu(b.items[2].submenu ? b.items[2].submenu : b.items[4].submenu))
            b.submenuIds.push_back(item.id);
        DestroyMenu(menu);
        return b;
    };
    Build absent = build(nullptr), off = build("0"), on = build("1");
    ASSERT_EQ(absent.items.size(), 4u);
    const char* titles[] = {"ポータル", "Google 検索", "ニュース", "署名"};
    for (const Build* b : {&absent, &off}) {
        ASSERT_EQ(b->items.size(), 4u);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(b->items[i].text, titles[i]);
            EXPECT_EQ(b->items[i].type, absent.items[i].type);
            EXPECT_EQ(b->items[i].id, absent.items[i].id);
        }
        EXPECT_EQ(b->data, (std::vector<LPARAM>{0, 1, 2, 3, 4}));
    }
    ASSERT_EQ(on.items.size(), 6u);
    EXPECT_EQ(on.items[0].text, kPickerTitle);
    EXPECT_TRUE(on.items[1].type & MFT_SEPARATOR);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(on.items[i + 2].text, titles[i]);
        EXPECT_EQ(on.items[i + 2].id, absent.items[i].id) << "the same command";
    }
    EXPECT_EQ(on.submenuIds, absent.submenuIds);
    // The picker's own data value is not an entry's: DataValues skips no item.
    std::vector<LPARAM> entries(on.data.begin() + 1, on.data.end());
    EXPECT_EQ(entries, (std::vector<LPARAM>{0, 1, 2, 3, 4}));
}

// A team's shared menu is listed too, its entries under the shared title,
// numbered after the user's own.
TEST_F(Picker, ListsTheSharedMenuUnderItsTitle) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + "picker-team.json";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    const std::string backup = "{\"format\": \"Tevrix menu\", \"version\": 1, \"menu\": ["
                               "{\"title\": \"Team news\", \"text\": \"team text\"}]}";
    DWORD written = 0;
    WriteFile(file, backup.data(), static_cast<DWORD>(backup.size()), &written, nullptr);
    CloseHandle(file);
    WriteStoreNumber("", "UsePicker", 1);
    WriteStoreBytes("", "SharedMenu", path);
    UINT pickerId = 0;
    for (int tries = 0; tries < 200 && !pickerId; ++tries) {
        HMENU menu = BuildComposeMenu();
        if (FindPopup(TextPopup(menu), "共有"))
            pickerId = ReadMenu(TextPopup(menu))[0].id;
        DestroyMenu(menu);
        if (!pickerId)
            Sleep(50);
    }
    ASSERT_NE(pickerId, 0u) << "the shared menu was read";
    ComposeEditor editor;
    PickerRun run = DrivePicker(editor, pickerId, "news", 0, VK_RETURN);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.rowsAfterTyping,
              (std::vector<std::string>{"Team news / 共有", "ＮＨＫ ニュース / ニュース",
                                        "Yahoo!ニュース / ニュース"}))
        << "matched by its title first";
    EXPECT_EQ(editor.Text(), "team text");
    Plugin().CleanUp();
    DeleteFileA(path.c_str());
    // The plug-in's local copy and state of this source.
    char local[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, local))) {
        DeleteFileA((std::string(local) + "\\Ostrel\\Tevrix\\shared-menu.json").c_str());
        DeleteFileA((std::string(local) + "\\Ostrel\\Tevrix\\shared-menu-state.ini").c_str());
    }
}

} // namespace

TEST_F(Picker, DoubleClickInsertsTheRowClicked) {
    WriteStoreNumber("", "UsePicker", 1);
    HMENU menu = BuildComposeMenu();
    UINT pickerId = ReadMenu(TextPopup(menu))[0].id;
    ComposeEditor editor;
    editor.SetText("", 0, 0);
    int step = 0;
    ModalCloser closer([&] {
        HWND dialog = PickerWindow();
        if (!dialog || step++ > 0)
            return;
        HWND list = GetDlgItem(dialog, kListId);
        RECT row = {LVIR_LABEL, 0, 0, 0};
        SendMessageA(list, LVM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&row));
        LPARAM at = MAKELPARAM((row.left + row.right) / 2, (row.top + row.bottom) / 2);
        SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(list, WM_LBUTTONUP, 0, at);
        SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        SendMessageA(list, WM_LBUTTONUP, 0, at);
    });
    editor.Choose(pickerId);
    EXPECT_FALSE(closer.TimedOut());
    EXPECT_EQ(editor.Text(), "https://news.yahoo.co.jp/") << "the fourth entry, in menu order";
    DestroyMenu(menu);
}
