// The menu tree page over the hostile store: it loads every entry by the
// store's rules and saves back everything the store's layout can hold.
#include <gtest/gtest.h>

#include "hostile_store.h"
#include "page_session.h"
#include "store_reset.h"

namespace {

const DWORD kPageDeadlineMs = 240000;

// A string value as readers take it: its bytes up to the first NUL.
std::string ReadString(HKEY key, const char* name) {
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return "";
    std::string value(size, '\0');
    RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value[0]), &size);
    value.resize(size);
    return value.substr(0, value.find('\0'));
}

// The store as saved by the page, read by key name: URL0, URL1 ... in the
// page's order, which is not the registry's enumeration order of the names.
PageItem ReadSavedEntry(HKEY key) {
    PageItem item;
    char buffer[64];
    item.title = ReadString(key, nullptr);
    DWORD type = 7;
    DWORD size = sizeof type;
    RegQueryValueExA(key, "Type", nullptr, nullptr, reinterpret_cast<BYTE*>(&type), &size);
    item.isText = type == 0;
    if (item.isText)
        item.text = ReadString(key, "URL");
    for (int index = 0;; ++index) {
        snprintf(buffer, sizeof buffer, "URL%d", index);
        HKEY child = nullptr;
        if (RegOpenKeyExA(key, buffer, 0, KEY_READ, &child) != ERROR_SUCCESS)
            break;
        item.children.push_back(ReadSavedEntry(child));
        RegCloseKey(child);
    }
    return item;
}

// Compares a subtree, reporting the path of the first difference.
void ExpectSame(const PageItem& loaded, const PageItem& saved, const std::string& path) {
    ASSERT_EQ(saved.title, loaded.title) << path;
    ASSERT_EQ(saved.isText, loaded.isText) << path;
    ASSERT_TRUE(saved.text == loaded.text)
        << path << ": texts of " << loaded.text.size() << " and " << saved.text.size() << " bytes";
    ASSERT_EQ(saved.children.size(), loaded.children.size()) << path;
    for (size_t i = 0; i < loaded.children.size(); ++i)
        ExpectSame(loaded.children[i], saved.children[i], path + "/" + loaded.children[i].title);
}

class PageHostileStore : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetStore();
        hostile::WriteHostileStore();
    }
    void TearDown() override { ResetStore(); }
};

TEST_F(PageHostileStore, LoadsEveryEntryByTheStoreRules) {
    PageItem top;
    ASSERT_TRUE(WithUrlPage([&](OpenUrlPage& page) { top = ReadPageItem(page, page.TopItem()); },
                            kPageDeadlineMs));
    EXPECT_EQ(top.title, "Tevrix");
    ASSERT_EQ(top.children.size(), static_cast<size_t>(hostile::kTopEntryCount));
    const std::vector<PageItem>& entry = top.children;

    EXPECT_TRUE(entry[hostile::kTypeString].isText) << "the string \"1\" is not the number 1";
    EXPECT_EQ(entry[hostile::kTypeString].text, "string type text");
    EXPECT_TRUE(entry[hostile::kTypeString].children.empty());
    EXPECT_FALSE(entry[hostile::kTypeBinary].isText) << "01 00 00 00 is the number 1";
    ASSERT_EQ(entry[hostile::kTypeBinary].children.size(), 1u);
    EXPECT_EQ(entry[hostile::kTypeBinary].children[0].title, "under binary type");
    EXPECT_TRUE(entry[hostile::kTypeShortBinary].isText) << "as the plug-in reads it";
    EXPECT_EQ(entry[hostile::kTypeShortBinary].text, "short binary text");

    EXPECT_EQ(entry[hostile::kUrlNumber].text, "1234");
    EXPECT_TRUE(entry[hostile::kMegabyte].text == hostile::MegabyteText());
    EXPECT_EQ(entry[hostile::kTitles].title, "NUL");
    EXPECT_EQ(entry[hostile::kTitles].text, "before");

    const PageItem& unopenable = entry[hostile::kUnopenable];
    EXPECT_TRUE(unopenable.isText);
    EXPECT_EQ(unopenable.title, "");
    EXPECT_EQ(unopenable.text, "");

    const PageItem& wide = entry[hostile::kWide];
    ASSERT_EQ(wide.children.size(), static_cast<size_t>(hostile::kWideEntries));
    for (const PageItem& item : wide.children)
        ASSERT_EQ("text" + item.title.substr(4), item.text) << item.title;

    const PageItem* level = &entry[hostile::kDeep];
    int depth = 1;
    while (!level->isText) {
        ASSERT_EQ(level->children.size(), 1u) << "level " << depth;
        level = &level->children[0];
        ++depth;
    }
    EXPECT_EQ(depth, hostile::kNestingDepth + 1) << "the tree holds every level";
    EXPECT_EQ(level->title, "bottom");
    EXPECT_EQ(level->text, "bottom text");
}

TEST_F(PageHostileStore, SavesBackEverythingItLoaded) {
    PageItem loaded;
    ASSERT_TRUE(WithUrlPage(
        [&](OpenUrlPage& page) {
            loaded = ReadPageItem(page, page.TopItem());
            page.SaveTree();
        },
        kPageDeadlineMs));
    HKEY menu = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Ostrel\\Tevrix\\URL", 0, KEY_READ, &menu),
              ERROR_SUCCESS);
    PageItem saved = ReadSavedEntry(menu);
    RegCloseKey(menu);
    saved.title = loaded.title; // the top item stands for the "URL" key itself
    saved.isText = false;
    ExpectSame(loaded, saved, "");
}

} // namespace
