// The plug-in's export table as the host sees it, and the entry points that
// need no menu.
#include <gtest/gtest.h>
#include <windows.h>

#include "common/proc_cast.h"
#include "tests/plugin/plugin_harness.h"

namespace {

struct Export {
    const char* name;
    WORD ordinal;
};
const Export Exports[] = {
    {"QPCGetPlugName", 1}, {"QPCVersionInfo", 2}, {"QPCStartUp", 3},        {"QPCCleanUp", 4},
    {"QPCSetup", 5},       {"QPCViewClose", 201}, {"QPCSendInitMenu", 302},
};

TEST(PluginExports, EveryEntryPointByNameAndByOrdinal) {
    HMODULE plugin = Plugin().module;
    ASSERT_NE(plugin, nullptr);
    for (const Export& e : Exports) {
        FARPROC byName = GetProcAddress(plugin, e.name);
        FARPROC byOrdinal = GetProcAddress(plugin, MAKEINTRESOURCEA(e.ordinal));
        EXPECT_NE(byName, nullptr) << e.name;
        EXPECT_EQ(byName, byOrdinal) << e.name;
    }
    // Ordinals between the entry points are empty.
    for (WORD ordinal : {6, 7, 100, 200, 202, 301, 303})
        EXPECT_EQ(GetProcAddress(plugin, MAKEINTRESOURCEA(ordinal)), nullptr) << ordinal;
}

TEST(PluginExports, NameIsTevrix) {
    EXPECT_STREQ(Plugin().GetPlugName(), "Tevrix");
}

TEST(PluginExports, StartUpAlwaysAnswersOne) {
    for (LPARAM value : {LPARAM(0), LPARAM(1), LPARAM(-1), LPARAM(302), LPARAM(0x7fffffff)})
        EXPECT_EQ(Plugin().StartUp(value), 1) << value;
}

} // namespace
