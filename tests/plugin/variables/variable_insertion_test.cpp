// Variables filled in at insertion, in the test host's real compose window:
// the caret after {{cursor}}, the selection, the clipboard, the questions
// dialog driven by keys posted from a timer inside its modal loop, and the
// stored bytes when the setting is off.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "host/host_stub.h"
#include "import_patch.h"
#include "modal_closer.h"
#include "store_reset.h"
#include "tests/plugin/plugin_harness.h"

namespace {

const int kFirstField = 1100;

class Variables : public PluginStoreTest {
  protected:

    // Stores the texts as the menu and builds it; the command ids of the
    // entries, in order.
    std::vector<UINT> BuildMenu(const std::vector<std::string>& texts) {
        for (size_t i = 0; i < texts.size(); ++i)
            WriteTextEntry("URL", static_cast<int>(i), "entry", texts[i]);
        return BuildAgain();
    }
    std::vector<UINT> BuildAgain() {
        HMENU menu = BuildComposeMenu();
        std::vector<UINT> ids;
        for (const MenuItem& item : ReadMenu(TextPopup(menu)))
            ids.push_back(item.id);
        DestroyMenu(menu);
        return ids;
    }
};

DWORD Caret(HWND edit) {
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return start == end ? start : 0xFFFFFFFF;
}

void SetClipboard(const wchar_t* text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    if (text) {
        size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
        HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, bytes);
        memcpy(GlobalLock(data), text, bytes);
        GlobalUnlock(data);
        SetClipboardData(CF_UNICODETEXT, data);
    }
    CloseClipboard();
}

TEST_F(Variables, CaretSelectionAndClipboardInTheComposeWindow) {
    WriteStoreNumber("", "UseVariables", 1);
    std::vector<UINT> ids = BuildMenu(
        {"拝啓\r\nDear {{cursor}}様\r\n本文{{cursor}}", "「{{selection}}」", "[{{clipboard}}]"});
    ASSERT_EQ(ids.size(), 3u);
    ComposeEditor editor;

    // Double-byte characters and a CR LF before the insertion point: the caret
    // counts characters as the editor does.
    editor.SetText("あいう\r\nx", 6, 6);
    editor.Choose(ids[0]);
    EXPECT_EQ(editor.Text(), "あいう\r\nx拝啓\r\nDear 様\r\n本文");
    EXPECT_EQ(Caret(editor.Edit()), 15u) << "after \"Dear \", the first {{cursor}}";

    editor.SetText("前本文後", 1, 3);
    editor.Choose(ids[1]);
    EXPECT_EQ(editor.Text(), "前「本文」後");
    EXPECT_EQ(Caret(editor.Edit()), 5u) << "without {{cursor}}, after the text";

    SetClipboard(L"クリップ");
    editor.SetText("", 0, 0);
    editor.Choose(ids[2]);
    EXPECT_EQ(editor.Text(), "[クリップ]");

    SetClipboard(L"a\u00e9\u20acb"); // é and € are not in Shift-JIS: converted, not dropped
    editor.SetText("", 0, 0);
    editor.Choose(ids[2]);
    std::string converted = editor.Text();
    EXPECT_EQ(converted.substr(0, 2), "[a");
    EXPECT_EQ(converted.substr(converted.size() - 2), "b]");
    EXPECT_GE(converted.size(), 6u);

    SetClipboard(nullptr);
    editor.SetText("", 0, 0);
    editor.Choose(ids[2]);
    EXPECT_EQ(editor.Text(), "[]") << "no text on the clipboard inserts nothing for it";
}

void PostKey(HWND window, UINT key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

HWND QuestionsWindow() {
    HWND dialog = FindThreadWindow("#32770");
    return dialog && GetDlgItem(dialog, kFirstField) ? dialog : nullptr;
}

std::string WindowText(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// Off (absent or 0) inserts the stored bytes as before; the switch is read
// with the menu, so turning it on shows at the next build.
TEST_F(Variables, SettingOffInsertsTheStoredBytes) {
    const std::string stored = "{{date}}{{cursor}}{{{{ ボ{{input:q}}";
    std::vector<UINT> ids = BuildMenu({stored});
    ComposeEditor editor;
    for (int pass = 0; pass < 3; ++pass) {
        if (pass == 1)
            WriteStoreNumber("", "UseVariables", 0);
        if (pass == 2)
            WriteStoreNumber("", "UseVariables", 1);
        ids = BuildAgain();
        editor.SetText("ab", 1, 1);
        bool asked = false;
        ModalCloser closer([&] {
            if (HWND dialog = QuestionsWindow()) {
                asked = true;
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            }
        });
        editor.Choose(ids[0]);
        EXPECT_FALSE(closer.TimedOut());
        EXPECT_EQ(asked, pass == 2) << pass;
        if (pass < 2) {
            EXPECT_EQ(editor.Text(), "a" + stored + "b") << pass;
            EXPECT_EQ(Caret(editor.Edit()), 1u + static_cast<DWORD>(stored.size()) - 1) << pass;
        } else {
            EXPECT_EQ(editor.Text(), "ab") << "cancelled: nothing inserted";
        }
    }
}

// What the questions dialog showed when it opened.
struct Asked {
    int fields = 0;
    std::string firstDefault;
    int choices = 0;
    int chosen = -1;
    bool ownedByCompose = false;
    bool insideWorkArea = false;
    bool focusMovedByTab = false;
    bool timedOut = false;
};

// Chooses the entry, then: types `typed` into the first field (when given),
// Tab, Down in the list, and ends with finalKey.
Asked Answer(const ComposeEditor& editor, UINT id, const char* typed, UINT finalKey) {
    Asked asked;
    int step = 0;
    ModalCloser closer([&] {
        HWND dialog = QuestionsWindow();
        if (!dialog)
            return;
        HWND first = GetDlgItem(dialog, kFirstField);
        HWND list = GetDlgItem(dialog, kFirstField + 1);
        switch (step++) {
        case 0: {
            while (GetDlgItem(dialog, kFirstField + asked.fields))
                ++asked.fields;
            asked.firstDefault = WindowText(first);
            asked.choices = static_cast<int>(SendMessageA(list, CB_GETCOUNT, 0, 0));
            asked.chosen = static_cast<int>(SendMessageA(list, CB_GETCURSEL, 0, 0));
            asked.ownedByCompose =
                GetWindow(dialog, GW_OWNER) == GetAncestor(editor.Edit(), GA_ROOT);
            RECT rect = {}, work = {};
            GetWindowRect(dialog, &rect);
            SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
            asked.insideWorkArea = rect.left >= work.left && rect.top >= work.top &&
                                   rect.right <= work.right && rect.bottom <= work.bottom;
            if (!typed) {
                PostKey(first, finalKey);
                break;
            }
            for (const char* c = typed; *c; ++c)
                PostMessageA(first, WM_CHAR, static_cast<unsigned char>(*c), 1);
            PostKey(first, VK_TAB);
            break;
        }
        case 1:
            asked.focusMovedByTab = GetFocus() == list;
            PostKey(list, VK_DOWN);
            break;
        case 2:
            PostKey(list, finalKey);
            break;
        default:
            break;
        }
    });
    editor.Choose(id);
    asked.timedOut = closer.TimedOut();
    return asked;
}

TEST_F(Variables, QuestionsAreAskedOnceEachAndRemembered) {
    WriteStoreNumber("", "UseVariables", 1);
    std::vector<UINT> ids =
        BuildMenu({"{{input:宛名|山田}}{{choice:敬称|様|さん|殿}}、{{cursor}}{{input:宛名}}"});
    ComposeEditor editor;
    editor.SetText("", 0, 0);
    Asked first = Answer(editor, ids[0], "sato", VK_RETURN);
    EXPECT_FALSE(first.timedOut);
    EXPECT_EQ(first.fields, 2) << "one field per distinct question";
    EXPECT_EQ(first.firstDefault, "山田");
    EXPECT_EQ(first.choices, 3);
    EXPECT_EQ(first.chosen, 0);
    EXPECT_TRUE(first.ownedByCompose);
    EXPECT_TRUE(first.insideWorkArea);
    EXPECT_TRUE(first.focusMovedByTab);
    EXPECT_EQ(editor.Text(), "satoさん、sato");
    EXPECT_EQ(Caret(editor.Edit()), 7u);

    // The answers come back as defaults; Escape leaves the editor as it was.
    // The compose window now sits in the work area's corner: the dialog is
    // still whole on the screen.
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(GetAncestor(editor.Edit(), GA_ROOT), nullptr, work.right - 120, work.bottom - 60,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    editor.SetText("keep", 2, 2);
    Asked again = Answer(editor, BuildAgain()[0], nullptr, VK_ESCAPE);
    EXPECT_FALSE(again.timedOut);
    EXPECT_TRUE(again.insideWorkArea);
    EXPECT_EQ(again.firstDefault, "sato");
    EXPECT_EQ(again.chosen, 1);
    EXPECT_EQ(editor.Text(), "keep");
    EXPECT_EQ(Caret(editor.Edit()), 2u);
}

// Calls left before one allocation of the plug-in fails; -1: none fails.
int g_allocationsLeft = -1;
bool g_failed = false;
void* (*g_malloc)(size_t);
void* (*g_calloc)(size_t, size_t);
void* (*g_realloc)(void*, size_t);
bool FailNow() {
    if (g_allocationsLeft < 0 || g_allocationsLeft-- != 0)
        return false;
    g_failed = true;
    return true;
}
void* FailingMalloc(size_t size) {
    return FailNow() ? nullptr : g_malloc(size);
}
void* FailingCalloc(size_t count, size_t size) {
    return FailNow() ? nullptr : g_calloc(count, size);
}
void* FailingRealloc(void* block, size_t size) {
    return FailNow() ? nullptr : g_realloc(block, size);
}

// Whichever allocation fails, the editor gets the whole text or nothing.
TEST_F(Variables, AFailedAllocationInsertsNothing) {
    WriteStoreNumber("", "UseVariables", 1);
    std::vector<UINT> ids = BuildMenu({"<{{selection}}>[{{clipboard}}]{{date:yyyy}}{{cursor}}!"});
    SetClipboard(L"クリップ");
    ImportPatch mallocPatch(Plugin().module, "msvcrt.dll", "malloc",
                            reinterpret_cast<void*>(FailingMalloc));
    ImportPatch callocPatch(Plugin().module, "msvcrt.dll", "calloc",
                            reinterpret_cast<void*>(FailingCalloc));
    ImportPatch reallocPatch(Plugin().module, "msvcrt.dll", "realloc",
                             reinterpret_cast<void*>(FailingRealloc));
    ASSERT_TRUE(mallocPatch.Patched() && callocPatch.Patched() && reallocPatch.Patched());
    g_malloc = reinterpret_cast<decltype(g_malloc)>(mallocPatch.Original());
    g_calloc = reinterpret_cast<decltype(g_calloc)>(callocPatch.Original());
    g_realloc = reinterpret_cast<decltype(g_realloc)>(reallocPatch.Original());
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    const std::string whole = "a<選択>[クリップ]" + std::to_string(now.wYear) + "!b";
    ComposeEditor editor;
    int failures = 0;
    for (int k = 0; k < 100; ++k) {
        editor.SetText("a選択b", 1, 3);
        g_failed = false;
        g_allocationsLeft = k;
        editor.Choose(ids[0]);
        g_allocationsLeft = -1;
        if (!g_failed) {
            EXPECT_EQ(editor.Text(), whole);
            break;
        }
        ++failures;
        EXPECT_EQ(editor.Text(), "a選択b") << "allocation " << k;
    }
    EXPECT_GE(failures, 4) << "the copy, the selection, the clipboard, the expansion";
}

// The picker inserts an entry as the popup does, variables filled in.
TEST_F(Variables, ThePickerFillsInTheChosenText) {
    WriteStoreNumber("", "UseVariables", 1);
    WriteStoreNumber("", "UsePicker", 1);
    std::vector<UINT> ids = BuildMenu({"{{{{x{{cursor}}ボ{{date:yyyy}}"});
    ASSERT_EQ(ids.size(), 3u) << "the picker, a separator, the entry";
    ComposeEditor editor;
    editor.SetText("", 0, 0);
    int step = 0;
    ModalCloser closer([&] {
        HWND dialog = FindThreadWindow("#32770");
        HWND query = dialog ? GetDlgItem(dialog, 1010) : nullptr;
        if (!query)
            return;
        if (step++ == 0) {
            for (const char* c = "entry"; *c; ++c)
                PostMessageA(query, WM_CHAR, static_cast<unsigned char>(*c), 1);
        } else {
            PostKey(query, VK_RETURN);
        }
    });
    editor.Choose(ids[0]);
    EXPECT_FALSE(closer.TimedOut());
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    EXPECT_EQ(editor.Text(), "{{xボ" + std::to_string(now.wYear));
    EXPECT_EQ(Caret(editor.Edit()), 3u);
}

} // namespace
