// QPCVersionInfo: the version box's texts, look and result, read from inside
// its modal loop.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "modal_closer.h"
#include "plugin_module.h"

namespace {
typedef INT_PTR(WINAPI* VersionInfoFn)(HWND);

std::string ItemText(HWND dialog, int id) {
    char text[256] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// What the test saw of the box while it was open.
struct SeenBox {
    bool found = false;
    std::string pluginVersion, editorVersion, copyright;
};

// Opens the version box over a window of the test, lets inspect look at it
// once it is up, then closes it with close(dialog); returns the box's result.
template <typename Inspect, typename Close>
INT_PTR RunVersionBox(const PluginModule& plugin, Inspect inspect, Close close) {
    auto versionInfo = plugin.Entry<VersionInfoFn>("QPCVersionInfo");
    EXPECT_NE(versionInfo, nullptr);
    if (!versionInfo)
        return -1;
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    bool done = false;
    ModalCloser closer([&] {
        HWND dialog = FindThreadWindow("#32770");
        if (!dialog || done)
            return;
        done = true;
        inspect(dialog);
        close(dialog);
    });
    INT_PTR result = versionInfo(owner);
    EXPECT_FALSE(closer.TimedOut());
    EXPECT_TRUE(done);
    DestroyWindow(owner);
    return result;
}

void PressOk(HWND dialog) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
}

// The control's rectangle in the dialog's client coordinates.
RECT ClientRectOf(HWND dialog, int id) {
    RECT rect;
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// Where the dialog manager puts a control of the template: it converts the
// origin and the size each on its own, so the right edge may lie a pixel
// beyond x + width converted as one number (it does with some fonts).
RECT DialogUnits(HWND dialog, int x, int y, int width, int height) {
    RECT origin = {x, y, x, y}, size = {width, height, width, height};
    MapDialogRect(dialog, &origin);
    MapDialogRect(dialog, &size);
    return {origin.left, origin.top, origin.left + size.right, origin.top + size.bottom};
}

void ExpectRect(const RECT& actual, const RECT& expected, const char* what) {
    EXPECT_EQ(actual.left, expected.left) << what;
    EXPECT_EQ(actual.top, expected.top) << what;
    EXPECT_EQ(actual.right, expected.right) << what;
    EXPECT_EQ(actual.bottom, expected.bottom) << what;
}
} // namespace

TEST(VersionBox, ShowsBothVersionLinesAndTheCopyrightAndOkGivesOne) {
    PluginModule plugin;
    ASSERT_NE(plugin.get(), nullptr);
    SeenBox seen;
    INT_PTR result = RunVersionBox(
        plugin,
        [&](HWND dialog) {
            seen.found = true;
            seen.pluginVersion = ItemText(dialog, 1002);
            seen.editorVersion = ItemText(dialog, 1004);
            seen.copyright = ItemText(dialog, 1003);
        },
        PressOk);
    EXPECT_EQ(result, 1);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.pluginVersion, "Tevrix.dll  Version 1.01");
    EXPECT_EQ(seen.editorVersion, "Vandry.dll Version 1.0");
    EXPECT_EQ(seen.copyright, "Copyright (C) 2026 Ostrel");
}

TEST(VersionBox, EscapeAndCloseGiveTheSameResultAsOk) {
    PluginModule plugin;
    ASSERT_NE(plugin.get(), nullptr);
    // Esc as a key press on the focused button: the dialog manager turns it
    // into the cancel command.
    EXPECT_EQ(RunVersionBox(
                  plugin, [](HWND) {},
                  [](HWND dialog) {
                      HWND button = GetDlgItem(dialog, IDOK);
                      PostMessageA(button, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
                      PostMessageA(button, WM_KEYUP, VK_ESCAPE, 0xC0010001);
                  }),
              1);
    EXPECT_EQ(RunVersionBox(
                  plugin, [](HWND) {},
                  [](HWND dialog) {
                      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                  }),
              1);
    EXPECT_EQ(RunVersionBox(
                  plugin, [](HWND) {}, [](HWND dialog) { PostMessageA(dialog, WM_CLOSE, 0, 0); }),
              1);
}

TEST(VersionBox, LayoutStylesFontAndIcon) {
    PluginModule plugin;
    ASSERT_NE(plugin.get(), nullptr);
    RunVersionBox(
        plugin,
        [](HWND dialog) {
            LONG style = GetWindowLongA(dialog, GWL_STYLE);
            EXPECT_TRUE(style & WS_POPUP);
            EXPECT_NE(style & WS_CAPTION, WS_CAPTION) << "the box has no caption bar";
            EXPECT_TRUE(style & DS_MODALFRAME);

            RECT client;
            GetClientRect(dialog, &client);
            ExpectRect(client, DialogUnits(dialog, 0, 0, 187, 94), "client area");
            ExpectRect(ClientRectOf(dialog, IDOK), DialogUnits(dialog, 148, 7, 32, 14), "OK");
            ExpectRect(ClientRectOf(dialog, 1002), DialogUnits(dialog, 29, 10, 119, 8), "1002");
            ExpectRect(ClientRectOf(dialog, 1004), DialogUnits(dialog, 29, 20, 119, 8), "1004");
            ExpectRect(ClientRectOf(dialog, 1003), DialogUnits(dialog, 7, 39, 173, 8), "1003");

            EXPECT_TRUE(GetWindowLongA(GetDlgItem(dialog, IDOK), GWL_STYLE) & BS_DEFPUSHBUTTON);
            for (int id : {1002, 1004}) {
                LONG text = GetWindowLongA(GetDlgItem(dialog, id), GWL_STYLE);
                EXPECT_EQ(text & SS_TYPEMASK, SS_LEFT) << id;
                EXPECT_TRUE(text & SS_NOPREFIX) << id;
            }
            LONG copyright = GetWindowLongA(GetDlgItem(dialog, 1003), GWL_STYLE);
            EXPECT_EQ(copyright & SS_TYPEMASK, SS_CENTER);

            HWND icon = GetDlgItem(dialog, 0xFFFF);
            ASSERT_NE(icon, nullptr);
            EXPECT_EQ(GetWindowLongA(icon, GWL_STYLE) & SS_TYPEMASK, SS_ICON);
            EXPECT_NE(SendMessageA(icon, STM_GETICON, 0, 0), 0) << "icon resource 1 is shown";

            LOGFONTA font = {};
            GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font,
                       &font);
            EXPECT_STREQ(font.lfFaceName, "ＭＳ Ｐゴシック");
            EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDOK));
        },
        PressOk);
}
