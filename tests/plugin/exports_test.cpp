#include <gtest/gtest.h>
#include <windows.h>

#include "plugin/proc_cast.h"

TEST(PluginExports, NameByOrdinalAndName) {
    HMODULE plugin = LoadLibraryA("Tevrix.dll");
    ASSERT_NE(plugin, nullptr);
    typedef LPCSTR(WINAPI * GetNameFn)(void);
    auto byName = GetProcAs<GetNameFn>(plugin, "QPCGetPlugName");
    auto byOrdinal = GetProcAs<GetNameFn>(plugin, MAKEINTRESOURCEA(1));
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(byName, byOrdinal);
    EXPECT_STREQ(byName(), "Tevrix");
    FreeLibrary(plugin);
}
