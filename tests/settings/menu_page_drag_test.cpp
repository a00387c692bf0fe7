// Moving items on the menu page by dragging, driven by the tree's begin-drag
// notification and the page's mouse messages over the items' rectangles.
#include <gtest/gtest.h>

#include "freed_memory.h"
#include "menu_page_driver.h"
#include "menu_store_io.h"
#include "store_reset.h"

namespace {
void PressCancel(HWND sheet) {
    PressSheetButton(sheet, PSBTN_CANCEL);
}

// Top: A, S1 [X, S2 [Y]], B, E [], F [F1].
void WriteDragStore() {
    ResetStore();
    WriteStoreMenu({TextEntry("A", "a"),
                    Submenu("S1", {TextEntry("X", "x"), Submenu("S2", {TextEntry("Y", "y")})}),
                    TextEntry("B", "b"), Submenu("E", {}), Submenu("F", {TextEntry("F1", "f1")})});
}

HTREEITEM Item(HWND sheet, std::vector<std::string> titles) {
    return FindItem(MenuTree(sheet), titles);
}

void Expand(HWND sheet, std::vector<std::string> titles) {
    SendMessageA(MenuTree(sheet), TVM_EXPAND, TVE_EXPAND,
                 reinterpret_cast<LPARAM>(Item(sheet, titles)));
}

// What a drop leaves behind besides the tree.
struct AfterDrop {
    ItemView top;
    bool applyEnabled = false;
    bool pageHasCapture = true;
    bool dropHighlightLeft = true;
};

AfterDrop Observe(HWND sheet) {
    AfterDrop after;
    after.top = ReadTree(MenuTree(sheet));
    after.applyEnabled = ApplyEnabled(sheet);
    after.pageHasCapture = GetCapture() == MenuPage(sheet);
    after.dropHighlightLeft = TreeView_GetDropHilight(MenuTree(sheet)) != nullptr;
    return after;
}

// Runs one drag in a freshly loaded tree: prepare, then drag.
AfterDrop RunDrag(std::function<void(HWND)> prepare, std::function<void(HWND)> drag) {
    AfterDrop after;
    EXPECT_TRUE(
        RunMenuSheet({prepare, drag, [&](HWND sheet) { after = Observe(sheet); }, PressCancel}));
    return after;
}

void Nothing(HWND) {}

const std::vector<std::string> kOriginalOrder{"A", "S1", "B", "E", "F"};
} // namespace

TEST(MenuPageDrag, OntoATextEntryMovesTheSubtreeRightAfterIt) {
    WriteDragStore();
    const char* xBefore = nullptr;
    const char* yBefore = nullptr;
    bool oldStringsFreed = false;
    AfterDrop after = RunDrag(Nothing, [&](HWND sheet) {
        HWND tree = MenuTree(sheet);
        xBefore = ReadItem(tree, Item(sheet, {"S1", "X"})).data;
        yBefore = ReadItem(tree, Item(sheet, {"S1", "S2", "Y"})).data;
        StartWatchingFrees();
        DragOnto(sheet, Item(sheet, {"S1"}), Item(sheet, {"B"}));
        oldStringsFreed = WasFreed(xBefore) && WasFreed(yBefore);
    });
    ASSERT_EQ(ChildTitles(after.top), (std::vector<std::string>{"A", "B", "S1", "E", "F"}));
    const ItemView& moved = after.top.children[2];
    EXPECT_FALSE(moved.hasString);
    EXPECT_EQ(moved.image, 1);
    EXPECT_FALSE(moved.expanded);
    ASSERT_EQ(ChildTitles(moved), (std::vector<std::string>{"X", "S2"}));
    EXPECT_EQ(moved.children[0].text, "x");
    EXPECT_EQ(moved.children[0].image, 0);
    EXPECT_NE(moved.children[0].data, xBefore);
    EXPECT_EQ(moved.children[1].image, 1);
    ASSERT_EQ(ChildTitles(moved.children[1]), (std::vector<std::string>{"Y"}));
    EXPECT_EQ(moved.children[1].children[0].text, "y");
    EXPECT_TRUE(oldStringsFreed);
    EXPECT_TRUE(after.applyEnabled);
    EXPECT_FALSE(after.pageHasCapture);
    EXPECT_FALSE(after.dropHighlightLeft);
}

TEST(MenuPageDrag, OntoACollapsedSubmenuPlacesTheItemBesideIt) {
    WriteDragStore();
    AfterDrop after = RunDrag(
        Nothing, [](HWND sheet) { DragOnto(sheet, Item(sheet, {"A"}), Item(sheet, {"E"})); });
    ASSERT_EQ(ChildTitles(after.top), (std::vector<std::string>{"S1", "B", "E", "A", "F"}));
    EXPECT_TRUE(after.top.children[2].children.empty());
    EXPECT_EQ(after.top.children[3].text, "a");
}

TEST(MenuPageDrag, OntoAnExpandedSubmenuAppendsTheItemInside) {
    WriteDragStore();
    AfterDrop after =
        RunDrag([](HWND sheet) { Expand(sheet, {"F"}); },
                [](HWND sheet) { DragOnto(sheet, Item(sheet, {"A"}), Item(sheet, {"F"})); });
    ASSERT_EQ(ChildTitles(after.top), (std::vector<std::string>{"S1", "B", "E", "F"}));
    ASSERT_EQ(ChildTitles(after.top.children[3]), (std::vector<std::string>{"F1", "A"}));
    EXPECT_EQ(after.top.children[3].children[1].text, "a");
}

TEST(MenuPageDrag, OntoTheTopItemAppendsToTheTopLevelMenu) {
    WriteDragStore();
    AfterDrop after =
        RunDrag([](HWND sheet) { Expand(sheet, {"S1"}); },
                [](HWND sheet) {
                    DragOnto(sheet, Item(sheet, {"S1", "X"}), TreeView_GetRoot(MenuTree(sheet)));
                });
    ASSERT_EQ(ChildTitles(after.top), (std::vector<std::string>{"A", "S1", "B", "E", "F", "X"}));
    EXPECT_EQ(ChildTitles(after.top.children[1]), (std::vector<std::string>{"S2"}));
}

TEST(MenuPageDrag, OntoTheCollapsedTopItemStillAppendsToTheTopLevelMenu) {
    // The top item collapsed mid-drag (from the keyboard): beside it the item
    // would stand outside the saved menu, so it goes to the menu's end.
    WriteDragStore();
    AfterDrop after = RunDrag([](HWND sheet) { Expand(sheet, {"S1"}); },
                              [](HWND sheet) {
                                  HWND tree = MenuTree(sheet);
                                  HTREEITEM top = TreeView_GetRoot(tree);
                                  BeginDrag(sheet, Item(sheet, {"S1", "X"}));
                                  // The user's collapse, as the tree's keyboard handling does it.
                                  SelectItem(tree, top);
                                  SendMessageA(tree, WM_KEYDOWN, VK_SUBTRACT, 0);
                                  POINT over = ItemPointInPage(sheet, top);
                                  MoveMouse(sheet, over);
                                  ReleaseButton(sheet, over);
                              });
    EXPECT_EQ(after.top.image, 1);
    EXPECT_FALSE(after.top.expanded);
    ASSERT_EQ(ChildTitles(after.top), (std::vector<std::string>{"A", "S1", "B", "E", "F", "X"}));
    EXPECT_EQ(after.top.children[5].text, "x");
}

TEST(MenuPageDrag, RefusedDropsMoveNothingAndEndTheDrag) {
    struct Case {
        const char* name;
        std::function<void(HWND)> prepare;
        std::function<void(HWND)> drag;
    };
    std::vector<Case> cases{
        {"onto its own parent", [](HWND sheet) { Expand(sheet, {"S1"}); },
         [](HWND sheet) {
             DragOnto(sheet, Item(sheet, {"S1", "X"}), Item(sheet, {"S1"}));
         }},
        {"onto itself", Nothing,
         [](HWND sheet) { DragOnto(sheet, Item(sheet, {"B"}), Item(sheet, {"B"})); }},
        {"onto its descendant",
         [](HWND sheet) {
             Expand(sheet, {"S1"});
             Expand(sheet, {"S1", "S2"});
         },
         [](HWND sheet) {
             DragOnto(sheet, Item(sheet, {"S1"}), Item(sheet, {"S1", "S2", "Y"}));
         }},
        {"with no target", Nothing,
         [](HWND sheet) {
             BeginDrag(sheet, Item(sheet, {"A"}));
             ReleaseButton(sheet, POINT{1, 1});
         }},
        {"of the top item", Nothing,
         [](HWND sheet) {
             DragOnto(sheet, TreeView_GetRoot(MenuTree(sheet)), Item(sheet, {"B"}));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteDragStore();
        AfterDrop after = RunDrag(c.prepare, c.drag);
        EXPECT_EQ(ChildTitles(after.top), kOriginalOrder);
        ASSERT_EQ(after.top.children.size(), 5u);
        EXPECT_EQ(ChildTitles(after.top.children[1]), (std::vector<std::string>{"X", "S2"}));
        EXPECT_EQ(ChildTitles(after.top.children[1].children[1]), (std::vector<std::string>{"Y"}));
        EXPECT_FALSE(after.applyEnabled);
        EXPECT_FALSE(after.pageHasCapture);
        EXPECT_FALSE(after.dropHighlightLeft);
    }
}

TEST(MenuPageDrag, ReleasingOverEmptySpaceDropsOntoTheLastItemPassed) {
    WriteDragStore();
    AfterDrop after = RunDrag(Nothing, [](HWND sheet) {
        BeginDrag(sheet, Item(sheet, {"A"}));
        MoveMouse(sheet, ItemPointInPage(sheet, Item(sheet, {"B"})));
        // Below the last row of the tree, then outside it.
        RECT treeRect;
        GetWindowRect(MenuTree(sheet), &treeRect);
        MapWindowPoints(nullptr, MenuPage(sheet), reinterpret_cast<POINT*>(&treeRect), 2);
        POINT below{treeRect.left + 10, treeRect.bottom - 4};
        MoveMouse(sheet, below);
        POINT outside{treeRect.right + 20, treeRect.bottom + 20};
        MoveMouse(sheet, outside);
        ReleaseButton(sheet, outside);
    });
    EXPECT_EQ(ChildTitles(after.top), (std::vector<std::string>{"S1", "B", "A", "E", "F"}));
    EXPECT_TRUE(after.applyEnabled);
}

TEST(MenuPageDrag, AnExpandedSubmenuArrivesCollapsedKeepingItsImage) {
    WriteDragStore();
    int imageAfterExpanding = -1;
    AfterDrop after = RunDrag([](HWND sheet) { Expand(sheet, {"S1"}); },
                              [&](HWND sheet) {
                                  DragOnto(sheet, Item(sheet, {"S1"}), Item(sheet, {"B"}));
                                  HTREEITEM copy = Item(sheet, {"S1"});
                                  ItemView before = ReadItem(MenuTree(sheet), copy);
                                  EXPECT_EQ(before.image, 2);
                                  EXPECT_FALSE(before.expanded);
                                  Expand(sheet, {"S1"});
                                  imageAfterExpanding = ReadItem(MenuTree(sheet), copy).image;
                              });
    EXPECT_EQ(ChildTitles(after.top), (std::vector<std::string>{"A", "B", "S1", "E", "F"}));
    EXPECT_EQ(imageAfterExpanding, 1);
}

TEST(MenuPageDrag, AMoveIsSavedOnOk) {
    WriteDragStore();
    ASSERT_TRUE(
        RunMenuSheet({[](HWND sheet) { DragOnto(sheet, Item(sheet, {"S1"}), Item(sheet, {"F"})); },
                      [](HWND sheet) { PressSheetButton(sheet, PSBTN_OK); }}));
    std::vector<StoreEntry> stored;
    ASSERT_TRUE(ReadStoreMenu(&stored));
    ASSERT_EQ(stored.size(), 5u);
    EXPECT_EQ(stored[4].title, "S1");
    ASSERT_EQ(stored[4].children.size(), 2u);
    EXPECT_EQ(stored[4].children[0].text, "x");
    ASSERT_EQ(stored[4].children[1].children.size(), 1u);
    EXPECT_EQ(stored[4].children[1].children[0].text, "y");
}

TEST(MenuPageDrag, ASubmenuNested200DeepMovesWhole) {
    ResetStore();
    const int kDepth = 200;
    StoreEntry chain = TextEntry("leaf", "deep text");
    for (int level = kDepth; level >= 1; --level)
        chain = Submenu("D" + std::to_string(level), {chain});
    WriteStoreMenu({chain, TextEntry("B", "b")});
    ASSERT_TRUE(
        RunMenuSheet({[](HWND sheet) { DragOnto(sheet, Item(sheet, {"D1"}), Item(sheet, {"B"})); },
                      [](HWND sheet) { PressSheetButton(sheet, PSBTN_OK); }}));

    std::vector<StoreEntry> stored;
    ASSERT_TRUE(ReadStoreMenu(&stored));
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].title, "B");
    const StoreEntry* walk = &stored[1];
    for (int level = 1; level <= kDepth; ++level) {
        ASSERT_EQ(walk->title, "D" + std::to_string(level));
        ASSERT_EQ(walk->children.size(), 1u) << "level " << level;
        walk = &walk->children[0];
    }
    EXPECT_EQ(walk->title, "leaf");
    EXPECT_EQ(walk->text, "deep text");
}

namespace {
void PressOk(HWND sheet) {
    PressSheetButton(sheet, PSBTN_OK);
}

// A key as the keyboard delivers it, through the sheet's own message loop.
void PostKey(HWND window, WPARAM key) {
    PostMessageA(window, WM_KEYDOWN, key, 0x00010001);
    PostMessageA(window, WM_KEYUP, key, 0xC0010001);
}

// S1 stored whole, with its descendants and their texts, among the top-level entries.
void ExpectS1Whole(const std::vector<StoreEntry>& stored, size_t index) {
    ASSERT_GT(stored.size(), index);
    const StoreEntry& s1 = stored[index];
    EXPECT_EQ(s1.title, "S1");
    ASSERT_EQ(s1.children.size(), 2u);
    EXPECT_EQ(s1.children[0].text, "x");
    ASSERT_EQ(s1.children[1].children.size(), 1u);
    EXPECT_EQ(s1.children[1].children[0].text, "y");
}
} // namespace

TEST(MenuPageDrag, AnInterruptedDragEndsAndALateClickMovesNothing) {
    struct Case {
        const char* name;
        std::function<void(HWND)> interrupt;
    };
    std::vector<Case> cases{
        {"capture taken by another window", [](HWND sheet) { SetCapture(MenuTree(sheet)); }},
        {"capture released", [](HWND) { ReleaseCapture(); }},
        {"cancel mode", [](HWND sheet) { SendMessageA(MenuPage(sheet), WM_CANCELMODE, 0, 0); }},
        {"Escape", [](HWND sheet) { PostKey(MenuTree(sheet), VK_ESCAPE); }},
        {"a box over the sheet",
         [](HWND sheet) {
             SelectItem(MenuTree(sheet), Item(sheet, {"B"}));
             ClickAndAnswer(sheet, kDeleteId, IDNO);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteDragStore();
        bool captureKept = true, highlightKept = true;
        AfterDrop after;
        EXPECT_TRUE(
            RunMenuSheet({[&](HWND sheet) {
                              BeginDrag(sheet, Item(sheet, {"S1"}));
                              MoveMouse(sheet, ItemPointInPage(sheet, Item(sheet, {"B"})));
                              c.interrupt(sheet);
                          },
                          [&](HWND sheet) {
                              captureKept = GetCapture() == MenuPage(sheet);
                              highlightKept = TreeView_GetDropHilight(MenuTree(sheet)) != nullptr;
                              ReleaseCapture();
                              // The late click, where the drop would have gone.
                              ReleaseButton(sheet, ItemPointInPage(sheet, Item(sheet, {"B"})));
                              after = Observe(sheet);
                          },
                          PressCancel}));
        EXPECT_FALSE(captureKept);
        EXPECT_FALSE(highlightKept);
        EXPECT_EQ(ChildTitles(after.top), kOriginalOrder);
        EXPECT_FALSE(after.applyEnabled);
    }
}

TEST(MenuPageDrag, DeletingTheTargetOrTheDraggedItemMidDragLosesNothing) {
    struct Case {
        const char* name;
        std::function<void(HWND)> deleteMidDrag;
        std::vector<std::string> expectedOrder;
    };
    auto deleteItem = [](std::vector<std::string> titles) {
        return [titles](HWND sheet) { TreeView_DeleteItem(MenuTree(sheet), Item(sheet, titles)); };
    };
    std::vector<Case> cases{
        {"the target, as an import replacing it", deleteItem({"B"}), {"A", "S1", "E", "F"}},
        {"the target, through the delete button",
         [](HWND sheet) {
             SelectItem(MenuTree(sheet), Item(sheet, {"B"}));
             ClickAndAnswer(sheet, kDeleteId, IDYES);
         },
         {"A", "S1", "E", "F"}},
        {"the dragged item", deleteItem({"S1"}), {"A", "B", "E", "F"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteDragStore();
        bool captureKept = true;
        std::vector<std::string> order;
        EXPECT_TRUE(RunMenuSheet({[&](HWND sheet) {
                                      BeginDrag(sheet, Item(sheet, {"S1"}));
                                      POINT overB = ItemPointInPage(sheet, Item(sheet, {"B"}));
                                      MoveMouse(sheet, overB);
                                      c.deleteMidDrag(sheet);
                                      captureKept = GetCapture() == MenuPage(sheet);
                                      // Over the page's background, then the button goes up.
                                      MoveMouse(sheet, POINT{1, 1});
                                      ReleaseButton(sheet, POINT{1, 1});
                                      order = ChildTitles(ReadTree(MenuTree(sheet)));
                                  },
                                  PressOk}));
        EXPECT_FALSE(captureKept);
        EXPECT_EQ(order, c.expectedOrder);
        std::vector<StoreEntry> stored;
        EXPECT_TRUE(ReadStoreMenu(&stored));
        std::vector<std::string> storedOrder;
        for (const StoreEntry& entry : stored)
            storedOrder.push_back(entry.title);
        EXPECT_EQ(storedOrder, c.expectedOrder);
        if (c.expectedOrder[1] == "S1")
            ExpectS1Whole(stored, 1);
    }
}

TEST(MenuPageDrag, TextTypedForAMovedEntryMovesWithIt) {
    struct Case {
        const char* name;
        std::vector<std::string> typedInto;
        std::vector<std::string> dragged;
    };
    std::vector<Case> cases{
        {"the dragged entry", {"A"}, {"A"}},
        {"an entry inside the dragged submenu", {"S1", "X"}, {"S1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteDragStore();
        std::string boxAfter;
        EXPECT_TRUE(RunMenuSheet({[&](HWND sheet) {
                                      Expand(sheet, {"S1"});
                                      SelectItem(MenuTree(sheet), Item(sheet, c.typedInto));
                                      TypeInStringBox(sheet, "TYPED");
                                  },
                                  [&](HWND sheet) {
                                      DragOnto(sheet, Item(sheet, c.dragged), Item(sheet, {"B"}));
                                      boxAfter = StringBoxText(sheet);
                                  },
                                  PressOk}));
        std::vector<StoreEntry> stored;
        ASSERT_TRUE(ReadStoreMenu(&stored));
        ASSERT_EQ(stored.size(), 5u);
        EXPECT_EQ(stored[1].title, "B");
        const StoreEntry& moved = stored[2];
        EXPECT_EQ(moved.title, c.dragged[0]);
        if (c.typedInto.size() == 1) {
            EXPECT_EQ(moved.text, "TYPED");
            EXPECT_EQ(boxAfter, "TYPED"); // the moved entry stays selected
        } else {
            ASSERT_EQ(moved.children.size(), 2u);
            EXPECT_EQ(moved.children[0].text, "TYPED");
        }
    }
}

TEST(MenuPageDrag, ASheetClosedMidDragLeavesNothingBehind) {
    WriteDragStore();
    ASSERT_TRUE(RunMenuSheet({[](HWND sheet) {
        BeginDrag(sheet, Item(sheet, {"S1"}));
        MoveMouse(sheet, ItemPointInPage(sheet, Item(sheet, {"B"})));
        PressCancel(sheet);
    }}));
    EXPECT_EQ(GetCapture(), nullptr);
    // Escape in the next sheet is the sheet's Cancel again, not a drag's end.
    EXPECT_TRUE(RunMenuSheet({[](HWND sheet) { PostKey(MenuTree(sheet), VK_ESCAPE); }}));
    std::vector<StoreEntry> stored;
    ASSERT_TRUE(ReadStoreMenu(&stored));
    ExpectS1Whole(stored, 1);
}
