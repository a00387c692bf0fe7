// Editing on the menu page: adding, deleting, retitling, string edits, and
// what OK, Apply and Cancel leave in the store.
#include <gtest/gtest.h>

#include "freed_memory.h"
#include "menu_page_driver.h"
#include "menu_store_io.h"
#include "store_reset.h"

#include <algorithm>

namespace {
void PressOk(HWND sheet) {
    PressSheetButton(sheet, PSBTN_OK);
}
void PressApply(HWND sheet) {
    PressSheetButton(sheet, PSBTN_APPLYNOW);
}
void PressCancel(HWND sheet) {
    PressSheetButton(sheet, PSBTN_CANCEL);
}
void Click(HWND sheet, int id) {
    ClickControl(MenuPage(sheet), id);
}
// Ends the title editing that adding starts, keeping the proposed title.
bool CancelTitleEdit(HWND sheet) {
    HWND tree = MenuTree(sheet);
    bool editing = TreeView_GetEditControl(tree) != nullptr;
    SendMessageA(tree, TVM_ENDEDITLABELNOW, TRUE, 0);
    return editing;
}
SheetAction Select(std::vector<std::string> titles) {
    return [titles](HWND sheet) {
        HTREEITEM item = FindItem(MenuTree(sheet), titles);
        ASSERT_NE(item, nullptr);
        SelectItem(MenuTree(sheet), item);
    };
}
SheetAction Type(std::string text) {
    return [text](HWND sheet) { TypeInStringBox(sheet, text); };
}
std::vector<std::string> Titles(const std::vector<StoreEntry>& entries) {
    std::vector<std::string> titles;
    for (const StoreEntry& entry : entries)
        titles.push_back(entry.title);
    return titles;
}
} // namespace

TEST(MenuPageEdit, AddsBySelectionAndSavesTheNewItems) {
    ResetStore();
    WriteStoreMenu(
        {TextEntry("A", "a"), Submenu("S", {TextEntry("S1", "s1")}), TextEntry("B", "b")});
    bool applyBefore = true, applyAfter = false, editing = false, boxEnabled = false;
    bool submenuBoxEnabled = true;
    ItemView afterFirstAdd, afterSubmenuAdd;
    ASSERT_TRUE(RunMenuSheet({[&](HWND sheet) {
                                  applyBefore = ApplyEnabled(sheet);
                                  SelectItem(MenuTree(sheet), nullptr);
                                  Click(sheet, kAddEntryId);
                                  editing = CancelTitleEdit(sheet);
                                  applyAfter = ApplyEnabled(sheet);
                                  boxEnabled = ControlEnabled(sheet, kStringBoxId);
                                  afterFirstAdd = ReadTree(MenuTree(sheet));
                              },
                              Select({"S"}),
                              [&](HWND sheet) {
                                  Click(sheet, kAddSubmenuId);
                                  CancelTitleEdit(sheet);
                                  submenuBoxEnabled = ControlEnabled(sheet, kStringBoxId);
                                  afterSubmenuAdd = ReadTree(MenuTree(sheet));
                              },
                              Select({"A"}),
                              [&](HWND sheet) {
                                  Click(sheet, kAddEntryId);
                                  CancelTitleEdit(sheet);
                              },
                              PressOk}));

    EXPECT_FALSE(applyBefore);
    EXPECT_TRUE(applyAfter);
    EXPECT_TRUE(editing) << "adding starts editing the new title";
    EXPECT_TRUE(boxEnabled);
    ASSERT_EQ(ChildTitles(afterFirstAdd), (std::vector<std::string>{"メニュー", "A", "S", "B"}));
    EXPECT_TRUE(afterFirstAdd.children[0].hasString);
    EXPECT_EQ(afterFirstAdd.children[0].text, "");
    EXPECT_EQ(afterFirstAdd.children[0].image, 0);

    EXPECT_FALSE(submenuBoxEnabled);
    const ItemView& s = afterSubmenuAdd.children[2];
    ASSERT_EQ(ChildTitles(s), (std::vector<std::string>{"サブメニュー", "S1"}));
    EXPECT_FALSE(s.children[0].hasString);
    EXPECT_EQ(s.children[0].image, 1);
    EXPECT_TRUE(s.expanded) << "the new item is shown";
    EXPECT_EQ(s.image, 2);

    std::vector<StoreEntry> stored;
    ASSERT_TRUE(ReadStoreMenu(&stored));
    ASSERT_EQ(Titles(stored), (std::vector<std::string>{"メニュー", "A", "メニュー", "S", "B"}));
    EXPECT_EQ(stored[0].type, 0u);
    EXPECT_EQ(stored[0].text, "");
    EXPECT_TRUE(StoreValueExists("URL\\URL0", "URL"));
    EXPECT_EQ(stored[3].type, 1u);
    ASSERT_EQ(Titles(stored[3].children), (std::vector<std::string>{"サブメニュー", "S1"}));
    EXPECT_EQ(stored[3].children[0].type, 1u);
}

TEST(MenuPageEdit, APendingStringEditGoesToTheEntryThatLosesTheSelection) {
    ResetStore();
    WriteStoreMenu({TextEntry("A", "a"), TextEntry("B", "b"), TextEntry("C", "c")});
    std::string boxAfterMove, aAfterMove, bAfterAdd, newEntryText;
    bool applyStaysOpen = false;
    ASSERT_TRUE(RunMenuSheet(
        {Select({"A"}), Type("a2"), Select({"B"}),
         [&](HWND sheet) {
             boxAfterMove = StringBoxText(sheet);
             aAfterMove = ReadItem(MenuTree(sheet), FindItem(MenuTree(sheet), {"A"})).text;
         },
         Type("b2"),
         [&](HWND sheet) {
             Click(sheet, kAddEntryId);
             CancelTitleEdit(sheet);
             bAfterAdd = ReadItem(MenuTree(sheet), FindItem(MenuTree(sheet), {"B"})).text;
             newEntryText = StringBoxText(sheet);
         },
         Select({"C"}), Type("c2"), PressApply,
         [&](HWND sheet) { applyStaysOpen = IsWindow(sheet) && !ApplyEnabled(sheet); },
         Select({"A"}), Type("a3"), PressCancel}));

    EXPECT_EQ(boxAfterMove, "b");
    EXPECT_EQ(aAfterMove, "a2");
    EXPECT_EQ(bAfterAdd, "b2");
    EXPECT_EQ(newEntryText, "");
    EXPECT_TRUE(applyStaysOpen);
    std::vector<StoreEntry> stored;
    ASSERT_TRUE(ReadStoreMenu(&stored));
    ASSERT_EQ(Titles(stored), (std::vector<std::string>{"A", "B", "メニュー", "C"}));
    EXPECT_EQ(stored[0].text, "a2") << "Cancel dropped the later edit";
    EXPECT_EQ(stored[1].text, "b2");
    EXPECT_EQ(stored[3].text, "c2");
}

TEST(MenuPageEdit, OkStoresTheSelectedEntrysEditAndLineBreaksRoundTrip) {
    ResetStore();
    WriteStoreMenu({TextEntry("A", "a"), TextEntry("B", "b")});
    const std::string kLines = "line one\r\nline two\r\n\r\nend";
    ASSERT_TRUE(RunMenuSheet({Select({"B"}), Type(kLines), PressOk}));
    std::vector<StoreEntry> stored;
    ASSERT_TRUE(ReadStoreMenu(&stored));
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[1].text, kLines);

    std::string shown, held;
    ASSERT_TRUE(
        RunMenuSheet({Select({"B"}),
                      [&](HWND sheet) {
                          shown = StringBoxText(sheet);
                          held = ReadItem(MenuTree(sheet), FindItem(MenuTree(sheet), {"B"})).text;
                      },
                      PressCancel}));
    EXPECT_EQ(shown, kLines);
    EXPECT_EQ(held, kLines);
}

TEST(MenuPageEdit, DeleteAsksOnceWithTheTitleAndReleasesTheSubtree) {
    ResetStore();
    const std::string kLongTitle(900, 'L');
    WriteStoreMenu({TextEntry("A", "a"),
                    Submenu("Sub", {TextEntry("X", "x"), Submenu("Y", {TextEntry("Z", "z")})}),
                    TextEntry(kLongTitle, "long")});
    std::vector<MessageBoxSeen> refused, accepted, longTitle, onTop;
    bool stillThere = false, applyAfterNo = true, applyAfterYes = false, topDeleteEnabled = true;
    const char* xString = nullptr;
    const char* zString = nullptr;
    bool xFreed = false, zFreed = false, aFreed = true;
    ItemView afterYes;
    ASSERT_TRUE(
        RunMenuSheet({Select({"Sub"}),
                      [&](HWND sheet) {
                          refused = ClickAndAnswer(sheet, kDeleteId, IDNO);
                          stillThere = FindItem(MenuTree(sheet), {"Sub", "Y", "Z"}) != nullptr;
                          applyAfterNo = ApplyEnabled(sheet);
                      },
                      [&](HWND sheet) {
                          HWND tree = MenuTree(sheet);
                          xString = ReadItem(tree, FindItem(tree, {"Sub", "X"})).data;
                          zString = ReadItem(tree, FindItem(tree, {"Sub", "Y", "Z"})).data;
                          const char* aString = ReadItem(tree, FindItem(tree, {"A"})).data;
                          StartWatchingFrees();
                          accepted = ClickAndAnswer(sheet, kDeleteId, IDYES);
                          xFreed = WasFreed(xString);
                          zFreed = WasFreed(zString);
                          aFreed = WasFreed(aString);
                          applyAfterYes = ApplyEnabled(sheet);
                          afterYes = ReadTree(tree);
                      },
                      Select({kLongTitle}),
                      [&](HWND sheet) { longTitle = ClickAndAnswer(sheet, kDeleteId, IDNO); },
                      [&](HWND sheet) {
                          SelectItem(MenuTree(sheet), TreeView_GetRoot(MenuTree(sheet)));
                          topDeleteEnabled = ControlEnabled(sheet, kDeleteId);
                          // Even a click that reaches the page does nothing to the top item.
                          onTop = ClickAndAnswer(sheet, kDeleteId, IDYES);
                      },
                      PressOk}));

    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].caption, "Tevrix");
    EXPECT_EQ(refused[0].text, "この項目(Sub)を削除して良いですか");
    EXPECT_TRUE(stillThere);
    EXPECT_FALSE(applyAfterNo);

    ASSERT_EQ(accepted.size(), 1u);
    EXPECT_EQ(ChildTitles(afterYes), (std::vector<std::string>{"A", kLongTitle}));
    EXPECT_TRUE(xFreed);
    EXPECT_TRUE(zFreed);
    EXPECT_FALSE(aFreed);
    EXPECT_TRUE(applyAfterYes);

    ASSERT_EQ(longTitle.size(), 1u);
    EXPECT_EQ(longTitle[0].text, "この項目(" + kLongTitle + ")を削除して良いですか");

    EXPECT_FALSE(topDeleteEnabled);
    EXPECT_TRUE(onTop.empty());

    std::vector<StoreEntry> stored;
    ASSERT_TRUE(ReadStoreMenu(&stored));
    EXPECT_EQ(Titles(stored), (std::vector<std::string>{"A", kLongTitle}));
}

TEST(MenuPageEdit, TitlesChangeInPlaceButTheTopItemKeepsItsTitle) {
    ResetStore();
    WriteStoreMenu({TextEntry("A", "a"), Submenu("S", {})});
    bool topEditStarted = true, applyAfterRename = true;
    std::string topTitle;
    ASSERT_TRUE(RunMenuSheet({[&](HWND sheet) {
                                  HWND tree = MenuTree(sheet);
                                  topEditStarted =
                                      EditTitle(tree, TreeView_GetRoot(tree), "Renamed top");
                                  topTitle = ReadItem(tree, TreeView_GetRoot(tree)).title;
                              },
                              Select({"A"}),
                              [&](HWND sheet) {
                                  HWND tree = MenuTree(sheet);
                                  EditTitle(tree, FindItem(tree, {"A"}), "");
                                  EditTitle(tree, FindItem(tree, {"S"}), "新しい名前");
                                  applyAfterRename = ApplyEnabled(sheet);
                              },
                              PressOk}));
    EXPECT_FALSE(topEditStarted);
    EXPECT_EQ(topTitle, "Tevrix");
    EXPECT_FALSE(applyAfterRename) << "a new title does not mark the page";

    std::vector<StoreEntry> stored;
    ASSERT_TRUE(ReadStoreMenu(&stored));
    ASSERT_EQ(Titles(stored), (std::vector<std::string>{"", "新しい名前"}));
    EXPECT_TRUE(StoreValueExists("URL\\URL0", nullptr)) << "an empty title is still written";
    EXPECT_EQ(stored[0].text, "a");
}

TEST(MenuPageEdit, ElevenEntriesAreSavedAsUrl0ToUrl10) {
    ResetStore();
    std::vector<SheetAction> actions;
    for (int i = 0; i < 11; ++i) {
        actions.push_back([i](HWND sheet) {
            Click(sheet, kAddEntryId);
            HWND tree = MenuTree(sheet);
            HWND edit = TreeView_GetEditControl(tree);
            SetWindowTextA(edit, ("E" + std::to_string(i)).c_str());
            SendMessageA(tree, TVM_ENDEDITLABELNOW, FALSE, 0);
        });
    }
    actions.push_back(PressOk);
    ASSERT_TRUE(RunMenuSheet(actions));

    std::vector<std::string> names = StoreKeyNames("URL");
    std::sort(names.begin(), names.end());
    std::vector<std::string> expected;
    for (int i = 0; i <= 10; ++i)
        expected.push_back("URL" + std::to_string(i));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
    // Each new entry went right after the one selected before it, so the
    // numbers follow the menu order.
    for (int i = 0; i <= 10; ++i)
        EXPECT_EQ(ReadStoreString("URL\\URL" + std::to_string(i), nullptr),
                  "E" + std::to_string(i));
}

TEST(MenuPageEdit, OkWithoutChangesRewritesTheWholeMenuKey) {
    ResetStore();
    WriteStoreMenu({TextEntry("A", "a"), Submenu("S", {TextEntry("B", "b")})});
    WriteStoreString("URL", "Planted", "stray");
    WriteStoreString("URL\\URL1", "Planted", "stray");
    ASSERT_TRUE(RunMenuSheet({PressOk}));
    EXPECT_FALSE(StoreValueExists("URL", "Planted"));
    EXPECT_FALSE(StoreValueExists("URL\\URL1", "Planted"));
    std::vector<StoreEntry> stored;
    ASSERT_TRUE(ReadStoreMenu(&stored));
    ASSERT_EQ(Titles(stored), (std::vector<std::string>{"A", "S"}));
    ASSERT_EQ(Titles(stored[1].children), (std::vector<std::string>{"B"}));
    EXPECT_EQ(stored[1].children[0].text, "b");
}

TEST(MenuPageEdit, DeletingTheEntryBeingEditedDropsItsEdit) {
    ResetStore();
    WriteStoreMenu({TextEntry("A", "a"), TextEntry("B", "b"), TextEntry("C", "c")});
    std::vector<MessageBoxSeen> seen;
    ASSERT_TRUE(RunMenuSheet({Select({"B"}), Type("typed into B"),
                              [&](HWND sheet) { seen = ClickAndAnswer(sheet, kDeleteId, IDYES); },
                              PressOk}));
    EXPECT_EQ(seen.size(), 1u);
    std::vector<StoreEntry> stored;
    ASSERT_TRUE(ReadStoreMenu(&stored));
    ASSERT_EQ(Titles(stored), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(stored[0].text, "a");
    EXPECT_EQ(stored[1].text, "c");
}
