// The settings editor's registry key objects against the real registry.
#include <gtest/gtest.h>

#include "settings/store/store_key.h"
#include "store_reset.h"

#include <cstring>
#include <string>

namespace {
const char kRootPath[] = "Software\\Ostrel\\Tevrix";

bool KeyExists(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void MakeKey(const std::string& path) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(key);
}
} // namespace

TEST(StoreRootKey, CreatesCompanyAndProductKeys) {
    ResetStore();
    ASSERT_FALSE(KeyExists("Software\\Ostrel"));
    {
        CStoreRootKey root("Ostrel", "Tevrix");
        EXPECT_NE(root.GetHandle(), nullptr);
        EXPECT_EQ(root.GetName(), "");
    }
    EXPECT_TRUE(KeyExists(kRootPath));
}

TEST(StoreKey, StringsRoundTripWithoutTerminator) {
    ResetStore();
    CStoreRootKey root("Ostrel", "Tevrix");
    ASSERT_TRUE(root.WriteString("Three", "abc"));

    // What a reader of the raw value sees: the three letters, REG_SZ, and no
    // other text (the system may add a NUL of its own after counted data).
    char raw[16] = "xxxxxxxxxxxxxxx";
    DWORD type = 0;
    DWORD size = sizeof raw;
    EXPECT_EQ(root.QueryValue("Three", &type, raw, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    ASSERT_GE(size, 3u);
    EXPECT_EQ(std::string(raw, strnlen(raw, size)), "abc");

    std::string text = "old";
    EXPECT_TRUE(root.ReadString("Three", text, "default"));
    EXPECT_EQ(text, "abc");

    ASSERT_TRUE(root.WriteString(nullptr, "タイトル"));
    EXPECT_TRUE(root.ReadString(nullptr, text, ""));
    EXPECT_EQ(text, "タイトル");

    ASSERT_TRUE(root.WriteString("Empty", ""));
    EXPECT_TRUE(root.ReadString("Empty", text, "default"));
    EXPECT_EQ(text, "");
}

TEST(StoreKey, LongStringIsReadWhole) {
    ResetStore();
    CStoreRootKey root("Ostrel", "Tevrix");
    std::string long_text;
    for (int i = 0; i < 3000; ++i)
        long_text.push_back(static_cast<char>('a' + i % 26));
    ASSERT_TRUE(root.WriteString("Long", long_text.c_str()));
    std::string text;
    EXPECT_TRUE(root.ReadString("Long", text, ""));
    EXPECT_EQ(text.size(), 3000u);
    EXPECT_EQ(text, long_text);
}

TEST(StoreKey, MissingValuesGiveDefaults) {
    ResetStore();
    CStoreRootKey root("Ostrel", "Tevrix");
    std::string text = "previous";
    EXPECT_FALSE(root.ReadString("Missing", text, ""));
    EXPECT_EQ(text, "");
    EXPECT_FALSE(root.ReadString("Missing", text, "fallback"));
    EXPECT_EQ(text, "fallback");

    char buffer[4] = "abc";
    DWORD type = 0;
    DWORD size = sizeof buffer;
    EXPECT_EQ(root.QueryValue("Missing", &type, buffer, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_STREQ(buffer, "abc");

    DWORD value = 0;
    EXPECT_FALSE(root.ReadDword("Missing", value, 42));
    EXPECT_EQ(value, 42u);
    EXPECT_EQ(root.GetDword("Missing", 5), 5u);
}

TEST(StoreKey, DwordsRoundTrip) {
    ResetStore();
    CStoreRootKey root("Ostrel", "Tevrix");
    ASSERT_TRUE(root.WriteDword("Type", 1));
    EXPECT_EQ(root.GetDword("Type", 0), 1u);
    DWORD type = 0;
    DWORD stored = 0;
    DWORD size = sizeof stored;
    EXPECT_EQ(root.QueryValue("Type", &type, &stored, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(size, 4u);
}

TEST(StoreKey, QueryValueReportsTooSmallBuffers) {
    ResetStore();
    CStoreRootKey root("Ostrel", "Tevrix");
    ASSERT_TRUE(root.WriteString("Text", "abcdefgh"));
    char buffer[4];
    DWORD type = 0;
    DWORD size = sizeof buffer;
    EXPECT_EQ(root.QueryValue("Text", &type, buffer, &size), ERROR_MORE_DATA);
    EXPECT_GE(size, 8u);
}

TEST(StoreKey, SubKeysAreCreatedOpenedAndEnumerated) {
    ResetStore();
    CStoreRootKey root("Ostrel", "Tevrix");
    CStoreKey url = root.OpenSubKey("URL", FALSE);
    EXPECT_EQ(url.GetHandle(), nullptr);
    EXPECT_EQ(url.CountSubKeys(), -1);
    EXPECT_FALSE(KeyExists("Software\\Ostrel\\Tevrix\\URL"));

    url = root.OpenSubKey("URL", TRUE);
    ASSERT_NE(url.GetHandle(), nullptr);
    EXPECT_EQ(url.GetName(), "URL");
    EXPECT_EQ(url.CountSubKeys(), 0);

    {
        CStoreKey first = url.CreateSubKey("URL0");
        ASSERT_TRUE(first.WriteString(nullptr, "first"));
        CStoreKey second = url.CreateSubKey("URL1");
        ASSERT_TRUE(second.WriteDword("Type", 1));
    }
    EXPECT_EQ(url.CountSubKeys(), 2);

    CStoreKey reopened = url.CreateSubKey("URL0"); // opens an existing key
    std::string title;
    EXPECT_TRUE(reopened.ReadString(nullptr, title, ""));
    EXPECT_EQ(title, "first");

    CStoreKey byIndex = url.GetSubKey(0);
    ASSERT_NE(byIndex.GetHandle(), nullptr);
    EXPECT_EQ(byIndex.GetName(), "URL0");
    EXPECT_EQ(url.GetSubKey(1).GetName(), "URL1");
    EXPECT_EQ(url.GetSubKey(2).GetHandle(), nullptr);
}

TEST(StoreKey, MovedKeysKeepOneOwner) {
    ResetStore();
    CStoreRootKey root("Ostrel", "Tevrix");
    CStoreKey moved = root.CreateSubKey("A");
    HKEY handle = moved.GetHandle();
    CStoreKey owner(std::move(moved));
    EXPECT_EQ(moved.GetHandle(), nullptr);
    EXPECT_EQ(owner.GetHandle(), handle);
    EXPECT_TRUE(owner.WriteDword("Type", 3));
    EXPECT_EQ(owner.GetDword("Type", 0), 3u);
}

TEST(StoreKey, DeleteTreeRemovesEveryLevel) {
    ResetStore();
    MakeKey("Software\\Ostrel\\Tevrix\\URL\\URL0\\URL0\\URL0");
    MakeKey("Software\\Ostrel\\Tevrix\\URL\\URL0\\URL1");
    MakeKey("Software\\Ostrel\\Tevrix\\URL\\URL1");
    MakeKey("Software\\Ostrel\\Tevrix\\Other");
    CStoreRootKey root("Ostrel", "Tevrix");
    EXPECT_TRUE(root.DeleteTree("URL"));
    EXPECT_FALSE(KeyExists("Software\\Ostrel\\Tevrix\\URL"));
    EXPECT_TRUE(KeyExists("Software\\Ostrel\\Tevrix\\Other"));
    EXPECT_EQ(root.CountSubKeys(), 1);
}

TEST(StoreKey, DeleteTreeOfMissingNameSucceedsAndChangesNothing) {
    ResetStore();
    MakeKey("Software\\Ostrel\\Tevrix\\Kept");
    CStoreRootKey root("Ostrel", "Tevrix");
    EXPECT_TRUE(root.DeleteTree("Missing"));
    EXPECT_TRUE(KeyExists("Software\\Ostrel\\Tevrix\\Kept"));
    EXPECT_EQ(root.CountSubKeys(), 1);
}

TEST(StoreKey, KeyWithoutHandleFailsEverything) {
    CStoreKey none;
    EXPECT_EQ(none.CountSubKeys(), -1);
    EXPECT_FALSE(none.WriteDword("Type", 1));
    EXPECT_FALSE(none.WriteString("URL", "x"));
    EXPECT_EQ(none.GetDword("Type", 9), 9u);
    EXPECT_EQ(none.CreateSubKey("A").GetHandle(), nullptr);
    EXPECT_EQ(none.OpenSubKey("A", TRUE).GetHandle(), nullptr);
    EXPECT_EQ(none.GetSubKey(0).GetHandle(), nullptr);
}
