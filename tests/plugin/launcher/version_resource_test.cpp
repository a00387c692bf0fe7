// The plug-in's version information, as a file properties page reads it.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {
std::string StringValue(std::vector<char>& info, const char* name) {
    std::string path = std::string("\\StringFileInfo\\041104b0\\") + name;
    char* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length))
        return "<missing>";
    return value;
}
} // namespace

TEST(VersionResource, FixedVersionAndJapaneseStrings) {
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA("Tevrix.dll", &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA("Tevrix.dll", 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(9, 1));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 1));
    EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(9, 1));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));

    EXPECT_EQ(StringValue(info, "FileVersion"), "1, 0, 1, 9");
    EXPECT_EQ(StringValue(info, "ProductVersion"), "1, 0, 1, 9");
    EXPECT_EQ(StringValue(info, "FileDescription"), "Tevrix Quorvan Plugin DLL");
    EXPECT_EQ(StringValue(info, "InternalName"), "Tevrix");
    EXPECT_EQ(StringValue(info, "OriginalFilename"), "Tevrix.DLL");
    EXPECT_EQ(StringValue(info, "ProductName"), "Tevrix ﾀﾞｲﾅﾐｯｸ ﾘﾝｸ ﾗｲﾌﾞﾗﾘ");
    EXPECT_EQ(StringValue(info, "LegalCopyright"), "Copyright (C) 2026 Ostrel");
}
