// The folder chooser of the Favorites import: the classic Open dialog cut
// down to its folder half, accepting the folder it shows.
#include <gtest/gtest.h>

#include "import_driver.h"
#include "favorites_value.h"
#include "menu_description.h"
#include "store_reset.h"
#include "temp_folder.h"

#include <dlgs.h>

namespace {
const int kFavoritesButton = 1011;

RECT ClientRectOf(HWND dialog, int id) {
    RECT rect{};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

HWND FirstUnnamedControl(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (LOWORD(GetWindowLongPtrA(child, GWLP_ID)) == 0xFFFF)
            return child;
    return nullptr;
}

// Highlights a folder of the folder list; opens it too when asked.
bool PickFolder(HWND dialog, const std::string& name, bool open) {
    HWND list = GetDlgItem(dialog, lst2);
    std::string entry = "[" + name + "]";
    LRESULT index = SendMessageA(list, LB_FINDSTRING, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(entry.c_str()));
    if (index == LB_ERR)
        return false;
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (open)
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(lst2, LBN_DBLCLK),
                     reinterpret_cast<LPARAM>(list));
    return true;
}

// A folder with two subfolders holding one shortcut each.
void WriteTwoFolders(const TempFolder& folder) {
    folder.MakeFolder("Sub1");
    folder.WriteShortcut("Sub1\\a.url", "http://a.example/");
    folder.MakeFolder("Sub2");
    folder.WriteShortcut("Sub2\\b.url", "http://b.example/");
}
} // namespace

TEST(FolderChooser, ShowsOnlyTheFolderHalfOfTheOpenDialog) {
    ResetStore();
    TempFolder folder;
    StoreFavoritesFolder(folder.Path());
    bool fileHalfHidden = false, folderHalfShown = false, labelMoved = false, fitsWidth = false;
    std::string shownFolder;
    ASSERT_TRUE(RunSheetSteps(
        {ClickOnMenuPage(kFavoritesButton),
         When(kFolderDialogCaption,
              [&](HWND dialog) {
                  fileHalfHidden =
                      !IsControlVisible(dialog, stc3) && !IsControlVisible(dialog, edt1) &&
                      !IsControlVisible(dialog, lst1) && !IsControlVisible(dialog, stc2) &&
                      !IsControlVisible(dialog, cmb1);
                  folderHalfShown =
                      IsControlVisible(dialog, lst2) && IsControlVisible(dialog, stc1) &&
                      IsControlVisible(dialog, cmb2) && IsControlVisible(dialog, IDOK) &&
                      IsControlVisible(dialog, IDCANCEL);
                  // The folder list's caption now stands where the file-name label was.
                  HWND caption = FirstUnnamedControl(dialog);
                  RECT captionRect{};
                  GetWindowRect(caption, &captionRect);
                  MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&captionRect), 2);
                  labelMoved = caption && captionRect.left == ClientRectOf(dialog, stc3).left;
                  RECT client{};
                  GetClientRect(dialog, &client);
                  fitsWidth = ClientRectOf(dialog, IDOK).right <= client.right &&
                              ClientRectOf(dialog, lst2).right <= client.right;
                  shownFolder = ControlText(dialog, stc1);
                  PostClick(dialog, IDCANCEL);
              }),
         PressSheetCancel()}));
    EXPECT_TRUE(fileHalfHidden);
    EXPECT_TRUE(folderHalfShown);
    EXPECT_TRUE(labelMoved);
    EXPECT_TRUE(fitsWidth);
    EXPECT_FALSE(shownFolder.empty());
}

TEST(FolderChooser, OkTakesTheFolderOpenedInTheList) {
    ResetStore();
    TempFolder folder;
    WriteTwoFolders(folder);
    StoreFavoritesFolder(folder.Path());
    bool picked = false;
    std::string menu;
    ASSERT_TRUE(RunSheetSteps(
        {ClickOnMenuPage(kFavoritesButton),
         When(kFolderDialogCaption,
              [&](HWND dialog) { picked = PickFolder(dialog, "sub1", true); }),
         Press(kFolderDialogCaption, IDOK),
         OnSheet([&](HWND sheet) { menu = DescribeMenu(sheet); }), PressSheetCancel()}));
    ASSERT_TRUE(picked);
    EXPECT_EQ(menu, "お気に入り{a=http://a.example/}");
    EXPECT_EQ(lstrcmpiA(StoredFavoritesFolder().c_str(), folder.PathOf("Sub1").c_str()), 0)
        << StoredFavoritesFolder();
}

TEST(FolderChooser, OkTakesTheFolderShownNotTheOneHighlighted) {
    ResetStore();
    TempFolder folder;
    WriteTwoFolders(folder);
    StoreFavoritesFolder(folder.Path());
    bool picked = false;
    std::string menu;
    ASSERT_TRUE(RunSheetSteps({ClickOnMenuPage(kFavoritesButton),
                               When(kFolderDialogCaption,
                                    [&](HWND dialog) {
                                        picked = PickFolder(dialog, "sub2", false);
                                        PostClick(dialog, IDOK);
                                    }),
                               OnSheet([&](HWND sheet) { menu = DescribeMenu(sheet); }),
                               PressSheetCancel()}));
    ASSERT_TRUE(picked);
    EXPECT_NE(menu.find("Sub1{a=http://a.example/}"), std::string::npos) << menu;
    EXPECT_NE(menu.find("Sub2{b=http://b.example/}"), std::string::npos) << menu;
    EXPECT_EQ(StoredFavoritesFolder(), folder.Path());
}

TEST(FolderChooser, AVanishedStartFolderOpensInTheCurrentDirectory) {
    ResetStore();
    TempFolder folder;
    folder.WriteShortcut("here.url", "http://here.example/");
    StoreFavoritesFolder(folder.PathOf("gone"));
    std::string testDirectory = CurrentDirectory();
    SetCurrentDirectoryA(folder.Path().c_str());
    std::string directoryWhileOpen, menu;
    bool finished = RunSheetSteps({ClickOnMenuPage(kFavoritesButton),
                                   When(kFolderDialogCaption,
                                        [&](HWND dialog) {
                                            directoryWhileOpen = CurrentDirectory();
                                            PostClick(dialog, IDOK);
                                        }),
                                   OnSheet([&](HWND sheet) { menu = DescribeMenu(sheet); }),
                                   PressSheetCancel()});
    std::string directoryAfter = CurrentDirectory();
    SetCurrentDirectoryA(testDirectory.c_str());
    ASSERT_TRUE(finished);
    EXPECT_EQ(directoryWhileOpen, folder.Path());
    EXPECT_EQ(directoryAfter, folder.Path());
    EXPECT_EQ(menu, "お気に入り{here=http://here.example/}");
}
