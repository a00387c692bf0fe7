// Choosing an entry: insertion into a real edit control, tear-down of the
// popups, and the lifetime of the text lists.
#include <gtest/gtest.h>

#include "host/host_stub.h"
#include "tests/plugin/plugin_harness.h"
#include "store_reset.h"

namespace {

class Insertion : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(Plugin().module, nullptr);
        ResetStore();
        host::ForgetRegistrations();
        WriteTextEntry("URL", 0, "URL", "http://example.jp/");
        std::string sub = WriteSubmenuEntry("URL", 1, "署名");
        std::string deep = WriteSubmenuEntry(sub, 0, "深い");
        WriteTextEntry(deep, 0, "sig", "--\r\n山田 太郎\r\nソフト表示");
    }
    void TearDown() override {
        Plugin().CleanUp();
        ResetStore();
    }
    // Builds a compose menu and returns the command ids of both entries.
    void Build() {
        menu = BuildComposeMenu();
        popup = TextPopup(menu);
        ASSERT_NE(popup, nullptr);
        std::vector<MenuItem> top = ReadMenu(popup);
        ASSERT_EQ(top.size(), 2u);
        submenu = top[1].submenu;
        ASSERT_NE(submenu, nullptr);
        deepSubmenu = GetSubMenu(submenu, 0);
        ASSERT_NE(deepSubmenu, nullptr);
        urlId = top[0].id;
        signatureId = GetMenuItemID(deepSubmenu, 0);
    }
    void ExpectPopupsGone() {
        EXPECT_FALSE(IsMenu(popup));
        EXPECT_FALSE(IsMenu(submenu));
        EXPECT_FALSE(IsMenu(deepSubmenu));
    }
    HMENU menu = nullptr, popup = nullptr, submenu = nullptr, deepSubmenu = nullptr;
    UINT urlId = 0, signatureId = 0;
};

TEST_F(Insertion, ReplacesSelectionUndoablyAndTearsPopupsDown) {
    Build();
    ComposeEditor editor;
    editor.SetText("前文\r\nREPLACE後文", 4, 11); // positions count characters
    EXPECT_FALSE(SendMessageA(editor.Edit(), EM_CANUNDO, 0, 0));
    ASSERT_TRUE(editor.Choose(signatureId));
    EXPECT_EQ(editor.Text(), "前文\r\n--\r\n山田 太郎\r\nソフト表示後文");
    EXPECT_TRUE(SendMessageA(editor.Edit(), EM_CANUNDO, 0, 0));
    ExpectPopupsGone();
    EXPECT_TRUE(IsMenu(menu)) << "the host's own menu stays";
    DestroyMenu(menu);
}

TEST_F(Insertion, InsertsAtCaretWithoutSelection) {
    Build();
    ComposeEditor editor;
    editor.SetText("ab", 1, 1);
    editor.Choose(urlId);
    EXPECT_EQ(editor.Text(), "ahttp://example.jp/b");
    DestroyMenu(menu);
}

TEST_F(Insertion, TextsOutliveThePopups) {
    Build();
    ComposeEditor editor;
    editor.SetText("", 0, 0);
    Plugin().ViewClose(0);
    ExpectPopupsGone();
    editor.Choose(urlId);
    // A second choice without a rebuild still finds its text.
    editor.Choose(urlId);
    EXPECT_EQ(editor.Text(), "http://example.jp/http://example.jp/");
    DestroyMenu(menu);
}

TEST_F(Insertion, NoEditorInsertsNothingButTearsDown) {
    Build();
    ComposeEditor editor(0x7777);
    editor.SetText("unchanged", 0, 9);
    ASSERT_TRUE(host::InvokeCommand(urlId, 0x1234)); // a window without an editor
    EXPECT_EQ(editor.Text(), "unchanged");
    ExpectPopupsGone();
    DestroyMenu(menu);
}

TEST_F(Insertion, DataOutsideTheListInsertsNothing) {
    Build();
    const host::Registration* r = host::FindRegistration(urlId);
    ASSERT_NE(r, nullptr);
    ComposeEditor editor;
    editor.SetText("same", 0, 4);
    for (LPARAM data : {LPARAM(2), LPARAM(3), LPARAM(1000000), LPARAM(-1)})
        r->callback(editor.Ref(), data);
    EXPECT_EQ(editor.Text(), "same");
    r->callback(editor.Ref(), 1); // the last valid value still works
    EXPECT_EQ(editor.Text(), "--\r\n山田 太郎\r\nソフト表示");
    DestroyMenu(menu);
}

TEST_F(Insertion, CleanUpEmptiesListsAndNextBuildReadsTheStoreAgain) {
    Build();
    DestroyMenu(menu);
    Plugin().CleanUp();
    ExpectPopupsGone();
    {
        ComposeEditor editor;
        editor.SetText("", 0, 0);
        editor.Choose(urlId);
        EXPECT_EQ(editor.Text(), "") << "the lists were emptied";
    }
    WriteTextEntry("URL", 0, "URL", "http://changed.example/");
    Build();
    EXPECT_EQ(InsertedText(urlId), "http://changed.example/");
    EXPECT_EQ(InsertedText(signatureId), "--\r\n山田 太郎\r\nソフト表示");
    DestroyMenu(menu);
}

} // namespace
