// Stores nested deeper than menus can nest: the popup is always appended,
// submenus nest to a fixed bound, and every entry below it is still listed
// and inserts its text.
#include <gtest/gtest.h>

#include "host/host_stub.h"
#include "tests/plugin/plugin_harness.h"
#include "store_reset.h"

namespace {

// The popup "文字列を挿入" is level 1.
const int kMaxMenuLevels = 20;

HKEY CreateEntry(HKEY parent, const std::string& name, const std::string& title, DWORD type) {
    HKEY key = nullptr;
    RegCreateKeyExA(parent, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(title.data()),
                   static_cast<DWORD>(title.size()));
    RegSetValueExA(key, "Type", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&type), sizeof type);
    return key;
}

void AddText(HKEY parent, const std::string& name, const std::string& title,
             const std::string& text) {
    HKEY key = CreateEntry(parent, name, title, 0);
    RegSetValueExA(key, "URL", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                   static_cast<DWORD>(text.size()));
    RegCloseKey(key);
}

// "before", then submenus "level1" ... "level<depth>" each inside the one
// before, each holding the text entry "t<k>" first, then "after".
void WriteChainStore(int depth) {
    HKEY menu = CreateStoreKey("URL");
    AddText(menu, "URL0", "before", "before text");
    AddText(menu, "URL2", "after", "after text");
    HKEY parent = menu;
    for (int k = 1; k <= depth; ++k) {
        HKEY level = CreateEntry(parent, "URL1", "level" + std::to_string(k), 1);
        AddText(level, "URL0", "t" + std::to_string(k), "text" + std::to_string(k));
        RegCloseKey(parent);
        parent = level;
    }
    RegCloseKey(parent);
}

// The entries of chain level k as the menu at menuLevel shows them; at the
// last level the rest of the chain follows in one list, each submenu a
// grayed heading.
std::string ExpectedChain(int menuLevel, int k, int depth) {
    std::string shown = "t" + std::to_string(k) + "=text" + std::to_string(k);
    if (k == depth)
        return shown;
    if (menuLevel < kMaxMenuLevels)
        return shown + "|level" + std::to_string(k + 1) + "{" +
               ExpectedChain(menuLevel + 1, k + 1, depth) + "}";
    for (int j = k + 1; j <= depth; ++j)
        shown +=
            "|[level" + std::to_string(j) + "]|t" + std::to_string(j) + "=text" + std::to_string(j);
    return shown;
}

int PopupLevels(HMENU popup) {
    int deepest = 0;
    for (const MenuItem& item : ReadMenu(popup))
        if (item.submenu)
            deepest = std::max(deepest, PopupLevels(item.submenu));
    return deepest + 1;
}

using MenuDepth = PluginStoreTest;

TEST_F(MenuDepth, EveryDepthKeepsThePopupAndEveryEntry) {
    for (int depth = 17; depth <= 64; ++depth) {
        SCOPED_TRACE("depth " + std::to_string(depth));
        ResetStore();
        host::ForgetRegistrations();
        WriteChainStore(depth);
        HMENU tools = BuildComposeMenu();
        HMENU popup = TextPopup(tools);
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(PopupLevels(popup), std::min(depth + 1, kMaxMenuLevels));
        // The host's menu bar takes its menu with the popup in it.
        HMENU bar = CreateMenu();
        EXPECT_TRUE(
            AppendMenuA(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(tools), "ツール"));

        std::vector<LPARAM> values = DataValues(popup);
        ASSERT_EQ(values.size(), static_cast<size_t>(depth + 2));
        for (size_t i = 0; i < values.size(); ++i)
            ASSERT_EQ(values[i], static_cast<LPARAM>(i)) << "depth first, the whole store";
        EXPECT_EQ(DescribePluginMenu(popup),
                  "before=before text|level1{" + ExpectedChain(2, 1, depth) + "}|after=after text");
        DestroyMenu(bar);
    }
}

TEST_F(MenuDepth, AStoreDeeperThanAnyRegistryEndsTheRead) {
    // Wine nests keys without end; the read stops at 1024 levels.
    const int depth = 1100;
    WriteChainStore(depth);
    HMENU menu = BuildComposeMenu();
    HMENU popup = TextPopup(menu);
    ASSERT_NE(popup, nullptr);
    std::vector<LPARAM> values = DataValues(popup);
    EXPECT_EQ(values.size(), static_cast<size_t>(1023 + 2)) << "t1 to t1023, before, after";
    EXPECT_EQ(InsertedText(ReadMenu(popup).back().id), "after text");
    DestroyMenu(menu);
}

} // namespace
