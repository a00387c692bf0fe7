// Allocations that fail inside the editor's handlers, driven as a user would:
// each action is tried with the first, second, third ... allocation failing,
// until a try runs through. Every failed try must leave the editor whole and
// usable, tell the user once, and lose nothing.
#include <gtest/gtest.h>

#include "failing_allocation.h"
#include "menu_description.h"
#include "menu_page_driver.h"
#include "menu_store_io.h"
#include "modal_closer.h"
#include "settings/sheet/setting_sheet.h"
#include "settings/sheet/setup_export.h"
#include "store_reset.h"

#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {
const char kOutOfMemory[] = "メモリが足りないため、操作を完了できませんでした。";
const char kOriginal[] = "A=a|S1{X=x|S2{Y=y}}|B=b|E{}|F{F1=f1}";
const long kMostTries = 3000;
const int kHtmlButton = 1012;
const int kTitleField = 1003;
const int kFileField = 1006;
// Longer than a string keeps without an allocation of its own.
const char kTyped[] = "Typed into the string box, not yet stored";

void WriteTestStore() {
    ResetStore();
    WriteStoreMenu({TextEntry("A", "a"),
                    Submenu("S1", {TextEntry("X", "x"), Submenu("S2", {TextEntry("Y", "y")})}),
                    TextEntry("B", "b"), Submenu("E", {}), Submenu("F", {TextEntry("F1", "f1")})});
}

std::string Describe(const std::vector<StoreEntry>& entries) {
    std::string description;
    for (const StoreEntry& entry : entries) {
        if (!description.empty())
            description += "|";
        description += entry.type == 1 ? entry.title + "{" + Describe(entry.children) + "}"
                                       : entry.title + "=" + entry.text;
    }
    return description;
}

std::string DescribeStore() {
    std::vector<StoreEntry> entries;
    ReadStoreMenu(&entries);
    return Describe(entries);
}

struct CaptionSearch {
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchCaption(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<CaptionSearch*>(param);
    char text[64] = "";
    GetWindowTextA(window, text, sizeof text);
    if (!IsWindowVisible(window) || lstrcmpA(text, search->caption) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

// The visible window of this thread with exactly that caption.
HWND FindCaptioned(const char* caption) {
    CaptionSearch search{caption, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchCaption, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindSheet() {
    return FindCaptioned("Tevrix 設定");
}

// Answers, with OK, every box captioned "Tevrix" while it lives; keeps their texts.
class FailureBoxes {
  public:
    FailureBoxes()
        : answering_(
              [this] {
                  HWND box = FindCaptioned("Tevrix");
                  if (!box)
                      return;
                  char text[256] = "";
                  GetWindowTextA(GetDlgItem(box, 0xFFFF), text, sizeof text);
                  texts.push_back(text);
                  SendMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
              },
              10, 60000) {}
    std::vector<std::string> texts;

  private:
    ModalCloser answering_;
};

// The boxes a try showed: one with the memory sentence when an allocation failed, else none.
void ExpectToldOnce(const std::vector<std::string>& texts, bool failed) {
    if (failed) {
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0], kOutOfMemory);
    } else {
        EXPECT_TRUE(texts.empty());
    }
}

struct Scenario {
    const char* name;
    std::function<void(HWND)> prepare;            // before each try; nothing fails here
    std::function<void(HWND)> act;                // the user's action, an allocation failing in it
    std::function<void(HWND, bool failed)> check; // the sheet after the try
    bool actClosesTheSheet;                       // OK: the try that runs through closes it
    std::string storedAtTheEnd;                   // after OK
};

// Runs the sheet in this program and the scenario's tries in it, one per
// tick; after the try that ran through, OK (unless that try was OK).
void RunTries(const Scenario& scenario) {
    WriteTestStore();
    long tries = 0;
    bool lastTryFailed = true, finished = false;
    ModalCloser ticks(
        [&] {
            HWND sheet = FindSheet();
            if (!sheet || finished)
                return;
            if (!lastTryFailed) {
                finished = true;
                PressSheetButton(sheet, PSBTN_OK);
                return;
            }
            if (tries >= kMostTries) {
                ADD_FAILURE() << "no try ran through";
                finished = true;
                PressSheetButton(sheet, PSBTN_CANCEL);
                return;
            }
            scenario.prepare(sheet);
            FailureBoxes boxes;
            FailAllocationAfter(tries++);
            scenario.act(sheet);
            lastTryFailed = StopFailingAllocations();
            ExpectToldOnce(boxes.texts, lastTryFailed);
            if (lastTryFailed || !scenario.actClosesTheSheet)
                scenario.check(sheet, lastTryFailed);
            if (!lastTryFailed && scenario.actClosesTheSheet)
                finished = true;
        },
        10, 120000);
    {
        CSettingSheet sheet(nullptr);
        sheet.DoModal();
    }
    EXPECT_FALSE(ticks.TimedOut());
    // A failed OK keeps the sheet open: it closed only by a try that ran through.
    EXPECT_FALSE(lastTryFailed) << "the sheet closed after a failed try";
    EXPECT_GT(tries, 1) << "no allocation failed: the action was not tried";
    EXPECT_EQ(DescribeStore(), scenario.storedAtTheEnd);
}

HTREEITEM Item(HWND sheet, const std::vector<std::string>& titles) {
    return FindItem(MenuTree(sheet), titles);
}

std::string StringOf(HWND sheet, const std::vector<std::string>& titles) {
    return ReadItem(MenuTree(sheet), Item(sheet, titles)).text;
}
} // namespace

TEST(AllocationFailure, EveryFailedTryLeavesTheEditorWholeAndSaysSo) {
    const std::string moved = "A=a|B=b|S1{X=x|S2{Y=y}}|E{}|F{F1=f1}";
    const std::string typed = std::string("A=") + kTyped + "|S1{X=x|S2{Y=y}}|B=b|E{}|F{F1=f1}";
    // Found before each try: the test itself allocates nothing during one.
    HTREEITEM a = nullptr, s1 = nullptr, b = nullptr;
    auto findItems = [&](HWND sheet) {
        a = Item(sheet, {"A"});
        s1 = Item(sheet, {"S1"});
        b = Item(sheet, {"B"});
    };
    auto selectAAndType = [&](HWND sheet) {
        findItems(sheet);
        SelectItem(MenuTree(sheet), a);
        TypeInStringBox(sheet, kTyped);
    };
    // An HTML file of three links, imported under the title "Links".
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, folder);
    const std::string html = std::string(folder) + "\\links.html";
    std::ofstream(html) << "<html><body><a href=\"http://one.example/\">L1</a>\n"
                           "<a href=\"http://two.example/\">L2</a>\n"
                           "<a href=\"http://three.example/\">L3</a></body></html>\n";
    const std::string imported = std::string(kOriginal) +
                                 "|Links{L1=http://one.example/|L2=http://two.example/"
                                 "|L3=http://three.example/}";
    // Fills in the import's dialog and presses OK; when that OK failed and the
    // dialog is still open, the user gives up with Cancel.
    std::unique_ptr<ModalCloser> fillingIn;
    bool pressedOk = false;
    auto prepareImport = [&](HWND sheet) {
        SelectItem(MenuTree(sheet), TreeView_GetRoot(MenuTree(sheet)));
        pressedOk = false;
        fillingIn = std::make_unique<ModalCloser>(
            [&] {
                HWND dialog = FindCaptioned("HTMLファイルの挿入");
                if (!dialog || !IsWindowEnabled(dialog))
                    return;
                SetDlgItemTextA(dialog, kTitleField, "Links");
                SetDlgItemTextA(dialog, kFileField, html.c_str());
                int button = pressedOk ? IDCANCEL : IDOK;
                pressedOk = true;
                SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
            },
            10, 60000);
    };
    std::vector<Scenario> scenarios{
        {"dragging a submenu", findItems, [&](HWND sheet) { DragOnto(sheet, s1, b); },
         [&](HWND sheet, bool failed) {
             // Whole at its old place or at its new one, never lost nor doubled.
             EXPECT_EQ(DescribeMenu(sheet), failed ? kOriginal : moved);
             EXPECT_NE(GetCapture(), MenuPage(sheet));
             EXPECT_EQ(TreeView_GetDropHilight(MenuTree(sheet)), nullptr);
         },
         false, moved},
        {"selecting another entry after typing", selectAAndType,
         [&](HWND sheet) { SelectItem(MenuTree(sheet), b); },
         [&](HWND sheet, bool failed) {
             // The typed text may be lost, but it never lands in the new entry.
             EXPECT_EQ(StringBoxText(sheet), "b");
             EXPECT_EQ(DescribeMenu(sheet), failed ? kOriginal : typed);
         },
         false, typed},
        {"OK with typed text", selectAAndType,
         [](HWND sheet) { PressSheetButton(sheet, PSBTN_OK); },
         [](HWND sheet, bool) { EXPECT_EQ(StringOf(sheet, {"B"}), "b"); }, true, typed},
        {"importing an HTML file", prepareImport,
         [](HWND sheet) {
             HWND page = MenuPage(sheet);
             SendMessageA(page, WM_COMMAND, MAKEWPARAM(kHtmlButton, BN_CLICKED),
                          reinterpret_cast<LPARAM>(GetDlgItem(page, kHtmlButton)));
         },
         [&](HWND sheet, bool failed) {
             fillingIn.reset();
             // No half-filled submenu: all three links or nothing.
             EXPECT_EQ(DescribeMenu(sheet), failed ? kOriginal : imported);
         },
         false, imported},
    };
    for (const Scenario& scenario : scenarios) {
        SCOPED_TRACE(scenario.name);
        RunTries(scenario);
    }
}

TEST(AllocationFailure, OpeningTheSheetNeverOverwritesTheStoredMenu) {
    // Each try opens the sheet afresh through the export and presses OK as
    // soon as it shows: a tree loaded only in part must not be saved.
    long tries = 0;
    for (bool failed = true; failed && tries < kMostTries; ++tries) {
        WriteTestStore();
        FailureBoxes boxes;
        bool stopped = false;
        ModalCloser pressOk(
            [&] {
                HWND sheet = FindSheet();
                if (!sheet || !IsWindowEnabled(sheet) || stopped)
                    return; // not yet, or a box is open over it
                stopped = true;
                failed = StopFailingAllocations();
                PressSheetButton(sheet, PSBTN_OK);
            },
            10, 60000);
        FailAllocationAfter(tries);
        SetUpTevrix();
        if (!stopped)
            failed = StopFailingAllocations(); // the sheet never showed
        SCOPED_TRACE("allocation " + std::to_string(tries));
        ExpectToldOnce(boxes.texts, failed);
        EXPECT_EQ(DescribeStore(), kOriginal);
        EXPECT_EQ(FindSheet(), nullptr);
        EXPECT_FALSE(pressOk.TimedOut());
    }
    EXPECT_GT(tries, 1);
}
