// What Vandry.dll shows the outside: its one export and its version resource.
#include <gtest/gtest.h>
#include <windows.h>

#include "common/proc_cast.h"
#include "settings/sheet/setup_export.h"

#include <string>
#include <vector>

namespace {
std::string VersionString(const std::vector<char>& info, const char* name) {
    char* text = nullptr;
    UINT length = 0;
    std::string path = std::string("\\StringFileInfo\\041104b0\\") + name;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) ||
        !text)
        return "(missing)";
    return text;
}
} // namespace

TEST(VandryModule, ExportsSetUpTevrixByNameAndOrdinalOne) {
    HMODULE editor = LoadLibraryA("Vandry.dll");
    ASSERT_NE(editor, nullptr);
    auto byName = GetProcAs<SetUpTevrixProc>(editor, "SetUpTevrix");
    auto byOrdinal = GetProcAs<SetUpTevrixProc>(editor, MAKEINTRESOURCEA(1));
    EXPECT_NE(byName, nullptr);
    EXPECT_EQ(byName, byOrdinal);
    EXPECT_EQ(GetProcAddress(editor, MAKEINTRESOURCEA(2)), nullptr);
    FreeLibrary(editor);
}

TEST(VandryModule, VersionResource) {
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA("Vandry.dll", &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA("Vandry.dll", 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(9, 0));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 1));
    EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(9, 0));

    EXPECT_EQ(VersionString(info, "FileVersion"), "1, 0, 0, 9");
    EXPECT_EQ(VersionString(info, "ProductVersion"), "1, 0, 0, 9");
    EXPECT_EQ(VersionString(info, "FileDescription"), "Vandry DLL");
    EXPECT_EQ(VersionString(info, "InternalName"), "Vandry");
    EXPECT_EQ(VersionString(info, "OriginalFilename"), "Vandry.DLL");
    EXPECT_EQ(VersionString(info, "ProductName"), "Vandry ﾀﾞｲﾅﾐｯｸ ﾘﾝｸ ﾗｲﾌﾞﾗﾘ");
    EXPECT_NE(VersionString(info, "LegalCopyright"), "(missing)");
}
