// The menu page's tree as loaded from the store.
#include <gtest/gtest.h>

#include "menu_page_driver.h"
#include "menu_store_io.h"
#include "store_reset.h"

#include <aclapi.h>

namespace {
void PressCancel(HWND sheet) {
    PressSheetButton(sheet, PSBTN_CANCEL);
}

// Loads the store into the page and returns the tree as shown.
ItemView LoadedTree() {
    ItemView top;
    EXPECT_TRUE(RunMenuSheet({[&](HWND sheet) { top = ReadTree(MenuTree(sheet)); }, PressCancel}));
    return top;
}

// Denies every access to a key, or gives it back, through its security.
bool SetKeyOpenToAll(const char* path, bool open) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, WRITE_DAC, &key) != ERROR_SUCCESS)
        return false;
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    ACL emptyList;
    InitializeAcl(&emptyList, sizeof emptyList, ACL_REVISION);
    // No list at all lets everyone in; an empty list lets no one in.
    SetSecurityDescriptorDacl(&descriptor, TRUE, open ? nullptr : &emptyList, FALSE);
    LONG result = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}
} // namespace

TEST(MenuPageLoad, ShowsEntriesAndSubmenusWithTheirImagesAndStrings) {
    ResetStore();
    WriteStoreMenu({TextEntry("Alpha", "http://a.example/"),
                    Submenu("Folder", {TextEntry("Inner", "x"), Submenu("Deep", {})}),
                    TextEntry("Beta", "")});
    ItemView top = LoadedTree();
    EXPECT_EQ(top.title, "Tevrix");
    EXPECT_FALSE(top.hasString);
    EXPECT_TRUE(top.expanded);
    EXPECT_EQ(top.image, 2);
    EXPECT_EQ(top.selectedImage, 2);
    ASSERT_EQ(ChildTitles(top), (std::vector<std::string>{"Alpha", "Folder", "Beta"}));

    const ItemView& alpha = top.children[0];
    EXPECT_EQ(alpha.image, 0);
    EXPECT_EQ(alpha.selectedImage, 0);
    ASSERT_TRUE(alpha.hasString);
    EXPECT_EQ(alpha.text, "http://a.example/");

    const ItemView& folder = top.children[1];
    EXPECT_FALSE(folder.hasString);
    EXPECT_FALSE(folder.expanded);
    EXPECT_EQ(folder.image, 1);
    EXPECT_EQ(folder.selectedImage, 1);
    ASSERT_EQ(ChildTitles(folder), (std::vector<std::string>{"Inner", "Deep"}));
    EXPECT_EQ(folder.children[0].text, "x");
    EXPECT_FALSE(folder.children[1].hasString);
    EXPECT_EQ(folder.children[1].image, 1);

    // An empty text still makes a text entry.
    ASSERT_TRUE(top.children[2].hasString);
    EXPECT_EQ(top.children[2].text, "");
}

TEST(MenuPageLoad, WithoutAMenuKeyShowsTheTopItemAloneAndCreatesNothing) {
    ResetStore();
    ItemView top = LoadedTree();
    EXPECT_EQ(top.title, "Tevrix");
    EXPECT_TRUE(top.children.empty());
    EXPECT_FALSE(top.expanded);
    EXPECT_EQ(top.image, 1);
    std::vector<StoreEntry> entries;
    EXPECT_FALSE(ReadStoreMenu(&entries));
}

TEST(MenuPageLoad, TakesTheNumbersInTheKeyNamesNotTheRegistrysOrder) {
    ResetStore();
    std::vector<StoreEntry> eleven;
    std::vector<std::string> expected;
    for (int i = 0; i <= 10; ++i) {
        eleven.push_back(TextEntry("T" + std::to_string(i), "t"));
        expected.push_back("T" + std::to_string(i));
    }
    WriteStoreMenu(eleven);
    ASSERT_EQ(StoreKeyNames("URL")[2], "URL10") << "the registry lists URL10 before URL2";
    EXPECT_EQ(ChildTitles(LoadedTree()), expected);
}

TEST(MenuPageLoad, MissingValuesReadAsEmptyTextEntries) {
    ResetStore();
    // URL1 loses all its values; URL2 gets an unknown type.
    WriteStoreMenu({TextEntry("first", "a"), TextEntry("x", "y"), TextEntry("typed", "z")});
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Ostrel\\Tevrix\\URL\\URL1", 0, KEY_ALL_ACCESS,
                  &key);
    RegDeleteValueA(key, nullptr);
    RegDeleteValueA(key, "Type");
    RegDeleteValueA(key, "URL");
    RegCloseKey(key);
    RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Ostrel\\Tevrix\\URL\\URL2", 0, KEY_ALL_ACCESS,
                  &key);
    DWORD two = 2;
    RegSetValueExA(key, "Type", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&two), sizeof two);
    RegCloseKey(key);

    ItemView top = LoadedTree();
    ASSERT_EQ(top.children.size(), 3u);
    EXPECT_EQ(top.children[1].title, "");
    ASSERT_TRUE(top.children[1].hasString);
    EXPECT_EQ(top.children[1].text, "");
    EXPECT_EQ(top.children[1].image, 0);
    ASSERT_TRUE(top.children[2].hasString);
    EXPECT_EQ(top.children[2].text, "z");
}

TEST(MenuPageLoad, ASubkeyThatCannotBeOpenedLoadsAsAnEmptyTextEntry) {
    ResetStore();
    WriteStoreMenu({TextEntry("before", "b"), Submenu("locked", {TextEntry("hidden", "h")}),
                    TextEntry("after", "a")});
    const char kLocked[] = "Software\\Ostrel\\Tevrix\\URL\\URL1";
    ASSERT_TRUE(SetKeyOpenToAll(kLocked, false));
    HKEY probe = nullptr;
    LONG openResult = RegOpenKeyExA(HKEY_CURRENT_USER, kLocked, 0, KEY_READ | KEY_WRITE, &probe);
    if (openResult == ERROR_SUCCESS)
        RegCloseKey(probe);
    ItemView top = LoadedTree();
    ASSERT_TRUE(SetKeyOpenToAll(kLocked, true));

    ASSERT_NE(openResult, ERROR_SUCCESS) << "the key's security did not lock it";
    ASSERT_EQ(top.children.size(), 3u);
    EXPECT_EQ(top.children[0].title, "before");
    EXPECT_EQ(top.children[1].title, "");
    ASSERT_TRUE(top.children[1].hasString);
    EXPECT_EQ(top.children[1].text, "");
    EXPECT_TRUE(top.children[1].children.empty());
    EXPECT_EQ(top.children[2].title, "after");
}

TEST(MenuPageLoad, StartsWithDeleteAndTheStringBoxDisabledOnTheTopItem) {
    ResetStore();
    WriteStoreMenu({TextEntry("A", "a")});
    bool deleteEnabled = true, boxEnabled = true;
    HTREEITEM selected = nullptr, top = nullptr;
    ASSERT_TRUE(RunMenuSheet({[&](HWND sheet) {
                                  deleteEnabled = ControlEnabled(sheet, kDeleteId);
                                  boxEnabled = ControlEnabled(sheet, kStringBoxId);
                                  selected = SelectedItem(MenuTree(sheet));
                                  top = TreeView_GetRoot(MenuTree(sheet));
                              },
                              PressCancel}));
    EXPECT_FALSE(deleteEnabled);
    EXPECT_FALSE(boxEnabled);
    // The tree selects its first item when it gets the focus; if it did not,
    // nothing is selected yet.
    EXPECT_TRUE(selected == nullptr || selected == top);
}

// The dialog manager turns a control's border into the sunken edge.
bool HasBorder(HWND control) {
    return (GetWindowLongA(control, GWL_STYLE) & WS_BORDER) ||
           (GetWindowLongA(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

TEST(MenuPageLoad, ThePageCarriesItsControls) {
    ResetStore();
    struct Control {
        int id;
        const char* text;
    };
    const Control kButtons[] = {{1002, "ﾒﾆｭｰ追加"},
                                {1004, "ｻﾌﾞﾒﾆｭｰ追加"},
                                {1005, "削除"},
                                {1011, "お気に入りの挿入"},
                                {1012, "HTMLﾌｧｲﾙから挿入"}};
    std::vector<std::string> texts;
    LONG treeStyle = 0, boxStyle = 0;
    bool treeBorder = false, boxBorder = false;
    std::string tabTitle;
    ASSERT_TRUE(
        RunMenuSheet({[&](HWND sheet) {
                          HWND page = MenuPage(sheet);
                          for (const Control& button : kButtons) {
                              char text[64] = "";
                              GetWindowTextA(GetDlgItem(page, button.id), text, sizeof text);
                              texts.push_back(text);
                          }
                          treeStyle = GetWindowLongA(MenuTree(sheet), GWL_STYLE);
                          boxStyle = GetWindowLongA(GetDlgItem(page, kStringBoxId), GWL_STYLE);
                          tabTitle = CurrentTabTitle(sheet);
                          treeBorder = HasBorder(MenuTree(sheet));
                          boxBorder = HasBorder(GetDlgItem(page, kStringBoxId));
                      },
                      PressCancel}));
    for (size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(texts[i], kButtons[i].text);
    EXPECT_EQ(tabTitle, "メニュー");
    const LONG kTree = TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_EDITLABELS |
                       TVS_SHOWSELALWAYS | WS_TABSTOP;
    EXPECT_EQ(treeStyle & kTree, kTree);
    EXPECT_EQ(treeStyle & TVS_DISABLEDRAGDROP, 0) << "items can be dragged";
    const LONG kBox =
        ES_MULTILINE | ES_WANTRETURN | ES_AUTOHSCROLL | ES_AUTOVSCROLL | WS_HSCROLL | WS_VSCROLL;
    EXPECT_EQ(boxStyle & kBox, kBox);
    EXPECT_TRUE(treeBorder);
    EXPECT_TRUE(boxBorder);
}

TEST(MenuPageLoad, TheTreeShowsThreeImagesWithWhiteTransparent) {
    ResetStore();
    int count = 0, width = 0, height = 0;
    COLORREF corner[3] = {}, outline[3] = {};
    const POINT kOutline[3] = {{3, 1}, {0, 5}, {0, 5}}; // a black pixel of each drawing
    const COLORREF kRed = RGB(255, 0, 0);
    ASSERT_TRUE(RunMenuSheet({[&](HWND sheet) {
                                  HIMAGELIST list =
                                      TreeView_GetImageList(MenuTree(sheet), TVSIL_NORMAL);
                                  count = ImageList_GetImageCount(list);
                                  ImageList_GetIconSize(list, &width, &height);
                                  HDC screen = GetDC(nullptr);
                                  HDC dc = CreateCompatibleDC(screen);
                                  HBITMAP canvas = CreateCompatibleBitmap(screen, 20, 18);
                                  HGDIOBJ old = SelectObject(dc, canvas);
                                  HBRUSH red = CreateSolidBrush(kRed);
                                  RECT all{0, 0, 20, 18};
                                  for (int i = 0; i < 3 && i < count; ++i) {
                                      FillRect(dc, &all, red);
                                      ImageList_Draw(list, i, dc, 0, 0, ILD_TRANSPARENT);
                                      corner[i] = GetPixel(dc, 19, 17);
                                      outline[i] = GetPixel(dc, kOutline[i].x, kOutline[i].y);
                                  }
                                  DeleteObject(red);
                                  SelectObject(dc, old);
                                  DeleteObject(canvas);
                                  DeleteDC(dc);
                                  ReleaseDC(nullptr, screen);
                              },
                              PressCancel}));
    EXPECT_EQ(count, 3);
    EXPECT_EQ(width, 20);
    EXPECT_EQ(height, 18);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(corner[i], kRed) << "image " << i << ": white shows what lies beneath";
        EXPECT_EQ(outline[i], RGB(0, 0, 0)) << "image " << i;
    }
}
