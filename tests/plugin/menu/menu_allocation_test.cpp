// Allocations that fail inside the plug-in's menu build, made to fail in the
// real Tevrix.dll through its import table: the host goes on, and the popup
// holds the beginning of the menu, every entry in it inserting its own text.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <utility>

#include "host/host_stub.h"
#include "import_patch.h"
#include "tests/plugin/plugin_harness.h"
#include "store_reset.h"

namespace {

// Calls left before one fails; -1: none fails.
int g_allocationsLeft = -1;
int g_popupsLeft = -1;
bool g_failed = false;
void* (*g_malloc)(size_t);
void* (*g_calloc)(size_t, size_t);
void* (*g_realloc)(void*, size_t);
HMENU(WINAPI* g_createPopupMenu)(void);

bool FailNow(int* left) {
    if (*left < 0)
        return false;
    if ((*left)-- == 0) {
        g_failed = true;
        return true;
    }
    return false;
}

void* FailingMalloc(size_t size) {
    return FailNow(&g_allocationsLeft) ? nullptr : g_malloc(size);
}
void* FailingCalloc(size_t count, size_t size) {
    return FailNow(&g_allocationsLeft) ? nullptr : g_calloc(count, size);
}
void* FailingRealloc(void* block, size_t size) {
    return FailNow(&g_allocationsLeft) ? nullptr : g_realloc(block, size);
}
HMENU WINAPI FailingCreatePopupMenu(void) {
    return FailNow(&g_popupsLeft) ? nullptr : g_createPopupMenu();
}

// A three-level menu with an eleventh entry at the top level.
void WriteMenu() {
    WriteTextEntry("URL", 0, "A", "text A");
    std::string s = WriteSubmenuEntry("URL", 1, "S");
    WriteTextEntry(s, 0, "B", "text B");
    std::string t = WriteSubmenuEntry(s, 1, "T");
    WriteTextEntry(t, 0, "C", "text C");
    WriteTextEntry(t, 1, "D", "text D");
    WriteTextEntry(s, 2, "E", "text E");
    for (int i = 2; i <= 10; ++i)
        WriteTextEntry("URL", i, "F" + std::to_string(i), "text F" + std::to_string(i));
}

// The popup's items depth first: "title=text" (the text it inserts),
// "title{" for a submenu and "}" at its end. The "}" that close a menu cut
// short are left off, so that it reads as a prefix of the whole menu.
void Flatten(HMENU popup, std::vector<std::string>* items,
             std::vector<std::pair<size_t, UINT>>* entries) {
    for (const MenuItem& item : ReadMenu(popup)) {
        if (item.submenu) {
            items->push_back(item.text + "{");
            Flatten(item.submenu, items, entries);
            items->push_back("}");
        } else {
            entries->push_back({items->size(), item.id});
            items->push_back(item.text + "=");
        }
    }
}

std::vector<std::string> BuildAndRead() {
    HMENU menu = BuildComposeMenu();
    g_allocationsLeft = g_popupsLeft = -1;
    std::vector<std::string> items;
    std::vector<std::pair<size_t, UINT>> entries;
    if (HMENU popup = TextPopup(menu))
        Flatten(popup, &items, &entries);
    for (const auto& entry : entries)
        items[entry.first] += InsertedText(entry.second);
    while (!items.empty() && items.back() == "}")
        items.pop_back();
    DestroyMenu(menu);
    return items;
}

bool IsPrefix(const std::vector<std::string>& part, const std::vector<std::string>& whole) {
    return part.size() <= whole.size() && std::equal(part.begin(), part.end(), whole.begin());
}

class MenuAllocation : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(Plugin().module, nullptr);
        ResetStore();
        WriteMenu();
    }
    void TearDown() override {
        Plugin().CleanUp();
        ResetStore();
    }
};

TEST_F(MenuAllocation, EachFailedAllocationEndsTheBuildWithWhatItHas) {
    ImportPatch mallocPatch(Plugin().module, "msvcrt.dll", "malloc",
                            reinterpret_cast<void*>(FailingMalloc));
    ImportPatch callocPatch(Plugin().module, "msvcrt.dll", "calloc",
                            reinterpret_cast<void*>(FailingCalloc));
    ImportPatch reallocPatch(Plugin().module, "msvcrt.dll", "realloc",
                             reinterpret_cast<void*>(FailingRealloc));
    ImportPatch popupPatch(Plugin().module, "user32.dll", "CreatePopupMenu",
                           reinterpret_cast<void*>(FailingCreatePopupMenu));
    ASSERT_TRUE(mallocPatch.Patched() && callocPatch.Patched() && reallocPatch.Patched() &&
                popupPatch.Patched());
    g_malloc = reinterpret_cast<decltype(g_malloc)>(mallocPatch.Original());
    g_calloc = reinterpret_cast<decltype(g_calloc)>(callocPatch.Original());
    g_realloc = reinterpret_cast<decltype(g_realloc)>(reallocPatch.Original());
    g_createPopupMenu = reinterpret_cast<decltype(g_createPopupMenu)>(popupPatch.Original());

    std::vector<std::string> whole = BuildAndRead();
    ASSERT_EQ(whole.size(), 18u) << "A, S{B, T{C, D}, E}, F2 ... F10";
    EXPECT_EQ(whole[4], "C=text C");

    // Builds that read the store, and builds from the menu the plug-in kept.
    for (bool kept : {false, true}) {
        for (int* left : {&g_allocationsLeft, &g_popupsLeft}) {
            int failures = 0;
            for (int k = 0;; ++k) {
                SCOPED_TRACE((kept ? "kept, " : "read, ") +
                             std::string(left == &g_popupsLeft ? "popup " : "allocation ") +
                             std::to_string(k));
                Plugin().CleanUp();
                if (kept)
                    BuildAndRead();
                host::ForgetRegistrations();
                g_failed = false;
                *left = k;
                std::vector<std::string> built = BuildAndRead();
                if (!g_failed) {
                    EXPECT_EQ(built, whole) << "no call failed";
                    break;
                }
                ++failures;
                EXPECT_TRUE(IsPrefix(built, whole)) << "built " << built.size() << " items";
                EXPECT_EQ(BuildAndRead(), whole) << "the next build is whole again";
            }
            // A build from the kept menu lends its texts to the entry list:
            // the list's array is all it allocates.
            EXPECT_GT(failures, left == &g_popupsLeft ? 2
                                : kept                ? 0
                                                      : 30)
                << "every call was failed once";
        }
    }
}

} // namespace
