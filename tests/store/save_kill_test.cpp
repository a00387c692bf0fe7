// Another process saves the menu while this one reads it: ended at moments
// spread over its save, or saving a hundred times while the plug-in builds
// its menu over and over. The plug-in (the real Tevrix.dll) and the editor's
// page always find a whole menu, the old or the new one, and the same one.
#include <gtest/gtest.h>

#include "saver_menus.h"
#include "saver_process.h"
#include "store_reset.h"
#include "tests/hostile/page_session.h"
#include "tests/plugin/plugin_harness.h"

#include <string>

namespace {

std::string PluginMenu() {
    HMENU menu = BuildComposeMenu();
    std::string description = DescribePluginMenu(TextPopup(menu));
    DestroyMenu(menu);
    return description;
}

std::string DescribePage(const PageItem& item) {
    std::string description;
    for (const PageItem& child : item.children) {
        if (!description.empty())
            description += "|";
        if (child.isText)
            description += child.title + "=" + child.text;
        else
            description += child.title + "{" + DescribePage(child) + "}";
    }
    return description;
}

// The menu the editor's page loads.
std::string EditorMenu() {
    std::string description = "(no page)";
    EXPECT_TRUE(WithUrlPage(
        [&](OpenUrlPage& page) { description = DescribePage(ReadPageItem(page, page.TopItem())); },
        30000));
    return description;
}

class SaveKill : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(Plugin().module, nullptr);
        ResetStore();
        ASSERT_TRUE(CMenuStore().Save(SaverMenu('A')));
        a_ = DescribeEntries(SaverMenu('A'));
        b_ = DescribeEntries(SaverMenu('B'));
    }
    void TearDown() override {
        Plugin().CleanUp();
        ResetStore();
    }
    std::string a_, b_;
};

TEST_F(SaveKill, EndedAtAnyMomentOfItsSaveTheOldOrTheNewMenuIsWhole) {
    // How long one save takes here, from the saver's start signal to its end.
    double saveMs = 0;
    {
        SaverProcess saver('B', 1);
        ASSERT_TRUE(saver.Running());
        ASSERT_EQ(saver.Wait(), 0);
        saveMs = NowMs() - saver.StartedAt();
    }
    ASSERT_EQ(PluginMenu(), b_);
    std::string current = b_;
    const int kills = 60;
    int old = 0, saved = 0;
    for (int i = 0; i < kills; ++i) {
        // From the start to past the end of the save, which may run slower
        // than it did alone.
        double delay = saveMs * 1.5 * i / (kills - 1);
        char which = current == a_ ? 'B' : 'A';
        const std::string& next = which == 'A' ? a_ : b_;
        SCOPED_TRACE("kill " + std::to_string(i) + " after " + std::to_string(delay) + " ms");
        {
            SaverProcess saver(which, 1);
            ASSERT_TRUE(saver.Running());
            while (NowMs() - saver.StartedAt() < delay)
                ;
            saver.Kill();
        }
        std::string shown = PluginMenu();
        ASSERT_TRUE(shown == current || shown == next) << shown;
        EXPECT_EQ(EditorMenu(), shown) << "the editor loads what the plug-in shows";
        ++(shown == current ? old : saved);
        current = shown;
    }
    // The kills fell on both sides of the moment the new menu takes over.
    EXPECT_GT(old, 0);
    EXPECT_GT(saved, 0);
    // The next save finishes what the last one left: the usual layout alone.
    ASSERT_TRUE(CMenuStore().Save(SaverMenu('A')));
    HKEY root = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Ostrel\\Tevrix", 0, KEY_READ, &root),
              ERROR_SUCCESS);
    DWORD keys = 0;
    RegQueryInfoKeyA(root, nullptr, nullptr, nullptr, &keys, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(root);
    EXPECT_EQ(keys, 1u) << "URL alone";
    EXPECT_EQ(PluginMenu(), a_);
}

TEST_F(SaveKill, BuildsWhileAnotherProcessSavesAHundredTimesSeeNoMixAndNothingStale) {
    // After n saves have returned the store holds B for odd n, A otherwise.
    auto savedAfter = [&](LONG n) -> const std::string& { return n % 2 ? b_ : a_; };
    EXPECT_EQ(PluginMenu(), a_) << "the set-up's menu, now kept by the plug-in";
    SaverProcess saver('B', 100, 150);
    ASSERT_TRUE(saver.Running());
    int builds = 0, seenA = 0, seenB = 0, between = 0;
    while (!saver.Ended()) {
        LONG begun = saver.SavesBegun(), done = saver.SavesDone();
        std::string shown = PluginMenu();
        ASSERT_TRUE(shown == a_ || shown == b_) << "build " << builds << ": " << shown;
        // A build between two saves, with none begun or returned during it,
        // shows the last saved menu: never one kept from before.
        if (begun == done && saver.SavesBegun() == begun && saver.SavesDone() == done) {
            ++between;
            EXPECT_EQ(shown, savedAfter(done)) << "build " << builds << " after " << done;
        }
        ++(shown == a_ ? seenA : seenB);
        ++builds;
    }
    EXPECT_EQ(saver.Wait(), 0) << "every save succeeded";
    EXPECT_EQ(saver.SavesDone(), 100);
    EXPECT_EQ(PluginMenu(), a_) << "the hundredth save's menu";
    EXPECT_GE(builds, 20);
    EXPECT_GE(between, 20) << builds << " builds";
    EXPECT_GT(seenA, 0);
    EXPECT_GT(seenB, 0);
}

} // namespace
