// Filling a control from a string resource through the 128-byte buffer, with
// strings of this test program's own resources.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "plugin/launcher/resource_text.h"

namespace {
const int kControl = 1002;

std::string TextOf(HWND window) {
    char text[512] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

class ResourceText : public ::testing::Test {
  protected:
    void SetUp() override {
        parent_ = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                  nullptr, nullptr, nullptr);
        control_ = CreateWindowExA(0, "STATIC", "before", WS_CHILD, 0, 0, 50, 10, parent_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControl)), nullptr,
                                   nullptr);
        ASSERT_NE(control_, nullptr);
    }
    void TearDown() override { DestroyWindow(parent_); }

    HWND parent_ = nullptr;
    HWND control_ = nullptr;
    const std::string digits_ = "0123456789abcdefghij";
};
} // namespace

TEST_F(ResourceText, LongStringIsCutTo127Bytes) {
    SetItemTextFromResource(parent_, kControl, GetModuleHandleA(nullptr), 500);
    std::string expected;
    while (expected.size() < 200)
        expected += digits_;
    EXPECT_EQ(TextOf(control_), expected.substr(0, 127));
}

TEST_F(ResourceText, StringOf127BytesAndJapaneseStringAreWhole) {
    SetItemTextFromResource(parent_, kControl, GetModuleHandleA(nullptr), 501);
    std::string text = TextOf(control_);
    EXPECT_EQ(text.size(), 127u);
    EXPECT_EQ(text.substr(120), "0123456");
    SetItemTextFromResource(parent_, kControl, GetModuleHandleA(nullptr), 502);
    EXPECT_EQ(TextOf(control_), "表示バージョン");
}

TEST_F(ResourceText, MissingControlIsSkippedAndMissingStringClearsText) {
    SetItemTextFromResource(parent_, kControl + 1, GetModuleHandleA(nullptr), 500);
    EXPECT_EQ(TextOf(control_), "before");
    SetItemTextFromResource(parent_, kControl, GetModuleHandleA(nullptr), 599);
    EXPECT_EQ(TextOf(control_), "");
}
