// What the plug-in's test programs share: the loaded plug-in's entry points,
// writing a menu into the store as the settings editor does, building a
// compose window's menu as the host does, and a real edit control as the
// compose window's editor.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugin/host/host_api.h"

struct PluginEntryPoints {
    HMODULE module;
    LPCSTR(WINAPI* GetPlugName)(void);
    LRESULT(WINAPI* StartUp)(LPARAM);
    LRESULT(WINAPI* CleanUp)(void);
    LRESULT(WINAPI* ViewClose)(LPARAM);
    void(WINAPI* SendInitMenu)(LPARAM, HMENU, UINT);
};

// Tevrix.dll from the program's folder, loaded once for the whole program.
const PluginEntryPoints& Plugin();

// Store writing below HKCU\Software\Ostrel\Tevrix; paths are relative to it.
HKEY CreateStoreKey(const std::string& path);
// A string value stored as exactly these bytes, with no terminating NUL.
void WriteStoreBytes(const std::string& path, const char* name, const std::string& bytes);
void WriteStoreNumber(const std::string& path, const char* name, DWORD value);
// A text entry "URL<index>" below menuPath; returns its path.
std::string WriteTextEntry(const std::string& menuPath, int index, const std::string& title,
                           const std::string& text);
// A submenu entry "URL<index>" below menuPath; returns its path.
std::string WriteSubmenuEntry(const std::string& menuPath, int index, const std::string& title);

// One item of a real menu, read back with GetMenuItemInfo.
struct MenuItem {
    UINT type;
    UINT state;
    UINT id;
    HMENU submenu;
    std::string text;
};
std::vector<MenuItem> ReadMenu(HMENU menu);

// A fresh host menu holding hostItems plain items, handed to QPCSendInitMenu
// with the compose kind. The caller destroys it.
HMENU BuildComposeMenu(int hostItems = 2);
// The submenu of the item titled text in menu, or null.
HMENU FindPopup(HMENU menu, const char* text);
// The "文字列を挿入" popup of a host menu.
HMENU TextPopup(HMENU hostMenu);

// Data values of the text entries of a popup, depth first, as the host recorded
// them with their command ids.
std::vector<LPARAM> DataValues(HMENU popup);

// A compose window with a multiline edit control registered with the host as
// its editor.
class ComposeEditor {
  public:
    explicit ComposeEditor(ComposeWindowRef ref = 0x5151);
    ~ComposeEditor();
    ComposeEditor(const ComposeEditor&) = delete;
    ComposeEditor& operator=(const ComposeEditor&) = delete;

    ComposeWindowRef Ref() const { return ref_; }
    HWND Edit() const { return edit_; }
    void SetText(const std::string& text, int selectFrom, int selectTo);
    std::string Text() const;
    // Chooses the menu item with this command id through the host.
    bool Choose(UINT commandId) const;

  private:
    ComposeWindowRef ref_;
    HWND frame_;
    HWND edit_;
};

// The text the entry with this data value inserts into an empty editor.
std::string InsertedText(UINT commandId);

// A popup of the plug-in in one line, in the form the settings tests use for
// the editor's tree: "title=text" for a text entry (the text it inserts),
// "title{...}" for a submenu, "[title]" for a grayed item without a command,
// separated by "|". Choosing the entries tears the popups down, so the popup
// cannot be used afterwards.
std::string DescribePluginMenu(HMENU popup);

// The fixture of tests that build menus through the loaded plug-in: a fresh
// store and no registrations before each test; the plug-in cleaned up and the
// store reset after it.
class PluginStoreTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
};
