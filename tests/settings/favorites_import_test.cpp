// "お気に入りの挿入" on the menu page of the real sheet: the title clash loop,
// the folder chooser, the scan of the chosen folder and the remembered folder.
#include <gtest/gtest.h>

#include "import_driver.h"
#include "favorites_value.h"
#include "menu_description.h"
#include "menu_store_io.h"
#include "settings/imports/favorites/favorites_scan.h"
#include "sheet_driver.h"
#include "store_reset.h"
#include "temp_folder.h"

#include <algorithm>
#include <map>

namespace {
const int kFavoritesButton = 1011;
const int kTitleBox = 1003;
const int kOverwriteBox = 1013;
const char kFavorites[] = "お気に入り";

// What the test saw of the sheet after the import.
struct SheetView {
    std::string menu;
    bool applyEnabled = false;
    bool imagesMatch = false;
};

Step ClickFavorites() {
    return ClickOnMenuPage(kFavoritesButton);
}

Step ReadSheet(SheetView* view) {
    return OnSheet([view](HWND sheet) {
        ItemView top = ReadTree(MenuTree(sheet));
        view->menu = DescribeMenu(top);
        view->applyEnabled = ApplyEnabled(sheet);
        view->imagesMatch = ImagesMatchKinds(top);
    });
}

// Answers the title dialog: records the title it offered, then types into it.
Step AnswerTitleDialog(std::string* offered, const std::string& typed, bool overwrite, int button) {
    return When(kTitleDialogCaption, [=](HWND dialog) {
        *offered = ControlText(dialog, kTitleBox);
        SetControlText(dialog, kTitleBox, typed);
        SendDlgItemMessageA(dialog, kOverwriteBox, BM_SETCHECK,
                            overwrite ? BST_CHECKED : BST_UNCHECKED, 0);
        PostClick(dialog, button);
    });
}

Step AcceptFolder() {
    return Press(kFolderDialogCaption, IDOK);
}

// The folder's entries in the order the file system lists them.
std::vector<std::string> ListingOrder(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(entry.cFileName);
    while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
}

// The expected description of items made from the listed names that have one.
std::string InListingOrder(const std::string& folder,
                           const std::map<std::string, std::string>& itemOfName) {
    std::string description;
    for (const std::string& name : ListingOrder(folder)) {
        auto item = itemOfName.find(name);
        if (item == itemOfName.end())
            continue;
        if (!description.empty())
            description += "|";
        description += item->second;
    }
    return description;
}

// One import of the folder into an empty menu; the menu it made.
std::string ImportInto(const std::string& folder) {
    StoreFavoritesFolder(folder);
    SheetView view;
    bool finished =
        RunSheetSteps({ClickFavorites(), AcceptFolder(), ReadSheet(&view), PressSheetCancel()});
    EXPECT_TRUE(finished);
    return view.menu;
}
} // namespace

TEST(FavoritesImport, WithoutClashOpensTheChooserAtOnceAndAppendsFavorites) {
    ResetStore();
    WriteStoreMenu({TextEntry("A", "a-text")});
    TempFolder folder;
    folder.WriteShortcut("Example.url", "http://example.com/");
    StoreFavoritesFolder(folder.Path());
    std::string directoryBefore = CurrentDirectory();
    std::string directoryWhileOpen;
    bool applyBefore = true;
    SheetView view;
    ASSERT_TRUE(RunSheetSteps({OnSheet([&](HWND sheet) {
                                   applyBefore = ApplyEnabled(sheet);
                                   PostClick(CurrentPage(sheet), kFavoritesButton);
                               }),
                               When(kFolderDialogCaption,
                                    [&](HWND dialog) {
                                        directoryWhileOpen = CurrentDirectory();
                                        PostClick(dialog, IDOK);
                                    }),
                               ReadSheet(&view), PressSheetCancel()}));
    EXPECT_FALSE(applyBefore);
    EXPECT_EQ(directoryWhileOpen, folder.Path());
    EXPECT_EQ(CurrentDirectory(), directoryBefore);
    EXPECT_EQ(view.menu, "A=a-text|お気に入り{Example=http://example.com/}");
    EXPECT_TRUE(view.applyEnabled);
    EXPECT_TRUE(view.imagesMatch);
    // The folder is remembered at once, although the sheet was cancelled.
    EXPECT_EQ(StoredFavoritesFolder(), folder.Path());
    // The menu itself is stored only when the sheet is applied.
    EXPECT_EQ(StoreKeyNames("URL"), std::vector<std::string>{"URL0"});
}

TEST(FavoritesImport, OkStoresTheImportedSubmenu) {
    ResetStore();
    TempFolder folder;
    folder.MakeFolder("News");
    folder.WriteShortcut("News\\a.url", "http://a.example/");
    StoreFavoritesFolder(folder.Path());
    ASSERT_TRUE(RunSheetSteps({ClickFavorites(), AcceptFolder(), PressSheetOk()}));
    std::vector<StoreEntry> menu;
    ASSERT_TRUE(ReadStoreMenu(&menu));
    ASSERT_EQ(menu.size(), 1u);
    EXPECT_EQ(menu[0].title, kFavorites);
    EXPECT_EQ(menu[0].type, 1u);
    ASSERT_EQ(menu[0].children.size(), 1u);
    const StoreEntry& news = menu[0].children[0];
    EXPECT_EQ(news.title, "News");
    EXPECT_EQ(news.type, 1u);
    ASSERT_EQ(news.children.size(), 1u);
    EXPECT_EQ(news.children[0].title, "a");
    EXPECT_EQ(news.children[0].type, 0u);
    EXPECT_EQ(news.children[0].text, "http://a.example/");
}

TEST(FavoritesImport, OverwriteRemovesTheOldItemAndAppendsUnderTheClashingTitle) {
    ResetStore();
    WriteStoreMenu({TextEntry("A", "a-text"),
                    Submenu(kFavorites, {TextEntry("old", "http://old.example/")}),
                    TextEntry("Z", "z-text")});
    TempFolder folder;
    folder.WriteShortcut("new.url", "http://new.example/");
    StoreFavoritesFolder(folder.Path());
    std::string notice, offered;
    SheetView view;
    ASSERT_TRUE(RunSheetSteps({ClickFavorites(), AnswerMessage(&notice),
                               AnswerTitleDialog(&offered, "edited", true, IDOK), AcceptFolder(),
                               ReadSheet(&view), PressSheetCancel()}));
    EXPECT_EQ(notice, "お気に入り はすでに存在します");
    EXPECT_EQ(offered, kFavorites);
    EXPECT_EQ(view.menu, "A=a-text|Z=z-text|お気に入り{new=http://new.example/}");
    EXPECT_TRUE(view.applyEnabled);
}

TEST(FavoritesImport, RenamingToAnotherTakenTitleAsksAgainUntilTheTitleIsFree) {
    ResetStore();
    WriteStoreMenu({Submenu(kFavorites, {}), TextEntry("B", "b-text")});
    TempFolder folder;
    folder.WriteShortcut("x.url", "http://x.example/");
    StoreFavoritesFolder(folder.Path());
    std::string firstNotice, secondNotice, firstOffer, secondOffer;
    SheetView view;
    ASSERT_TRUE(RunSheetSteps({ClickFavorites(), AnswerMessage(&firstNotice),
                               AnswerTitleDialog(&firstOffer, "B", false, IDOK),
                               AnswerMessage(&secondNotice),
                               AnswerTitleDialog(&secondOffer, "C", false, IDOK), AcceptFolder(),
                               ReadSheet(&view), PressSheetCancel()}));
    EXPECT_EQ(firstNotice, "お気に入り はすでに存在します");
    EXPECT_EQ(firstOffer, kFavorites);
    EXPECT_EQ(secondNotice, "B はすでに存在します");
    EXPECT_EQ(secondOffer, "B");
    EXPECT_EQ(view.menu, "お気に入り{}|B=b-text|C{x=http://x.example/}");
}

TEST(FavoritesImport, AnEmptyTypedTitleIsAccepted) {
    ResetStore();
    WriteStoreMenu({TextEntry(kFavorites, "text")});
    TempFolder folder;
    StoreFavoritesFolder(folder.Path());
    std::string notice, offered;
    SheetView view;
    ASSERT_TRUE(RunSheetSteps({ClickFavorites(), AnswerMessage(&notice),
                               AnswerTitleDialog(&offered, "", false, IDOK), AcceptFolder(),
                               ReadSheet(&view), PressSheetCancel()}));
    EXPECT_EQ(view.menu, "お気に入り=text|{}");
}

TEST(FavoritesImport, CancelInTheTitleDialogChangesNothing) {
    ResetStore();
    WriteStoreMenu({Submenu(kFavorites, {TextEntry("old", "http://old.example/")})});
    StoreFavoritesFolder("C:\\previous");
    std::string notice, offered;
    SheetView view;
    ASSERT_TRUE(RunSheetSteps({ClickFavorites(), AnswerMessage(&notice),
                               AnswerTitleDialog(&offered, kFavorites, true, IDCANCEL),
                               ReadSheet(&view), PressSheetCancel()}));
    EXPECT_EQ(view.menu, "お気に入り{old=http://old.example/}");
    EXPECT_FALSE(view.applyEnabled);
    EXPECT_EQ(StoredFavoritesFolder(), "C:\\previous");
}

TEST(FavoritesImport, CancelInTheChooserAfterOverwriteKeepsTheItem) {
    ResetStore();
    WriteStoreMenu({Submenu(kFavorites, {TextEntry("old", "http://old.example/")})});
    TempFolder folder;
    folder.WriteShortcut("new.url", "http://new.example/");
    StoreFavoritesFolder(folder.Path());
    std::string notice, offered;
    SheetView view;
    ASSERT_TRUE(RunSheetSteps({ClickFavorites(), AnswerMessage(&notice),
                               AnswerTitleDialog(&offered, kFavorites, true, IDOK),
                               Press(kFolderDialogCaption, IDCANCEL), ReadSheet(&view),
                               PressSheetCancel()}));
    EXPECT_EQ(view.menu, "お気に入り{old=http://old.example/}");
    EXPECT_FALSE(view.applyEnabled);
    EXPECT_EQ(StoredFavoritesFolder(), folder.Path());
}

TEST(FavoritesImport, CancelInTheChooserWithoutClashLeavesNoValue) {
    ResetStore();
    SheetView view;
    ASSERT_TRUE(RunSheetSteps({ClickFavorites(), Press(kFolderDialogCaption, IDCANCEL),
                               ReadSheet(&view), PressSheetCancel()}));
    EXPECT_EQ(view.menu, "");
    EXPECT_FALSE(view.applyEnabled);
    EXPECT_FALSE(FavoritesFolderStored());
}

TEST(FavoritesImport, OnlyAnExactTitleDirectlyUnderTheTopClashes) {
    ResetStore();
    WriteStoreMenu({Submenu("お気に入り ", {}), Submenu("S", {TextEntry(kFavorites, "inner")})});
    TempFolder folder;
    StoreFavoritesFolder(folder.Path());
    SheetView view;
    // No message: the chooser is the next window.
    ASSERT_TRUE(
        RunSheetSteps({ClickFavorites(), AcceptFolder(), ReadSheet(&view), PressSheetCancel()}));
    EXPECT_EQ(view.menu, "お気に入り {}|S{お気に入り=inner}|お気に入り{}");

    // A text entry with the title clashes like a submenu.
    ResetStore();
    WriteStoreMenu({TextEntry(kFavorites, "entry")});
    std::string notice, offered;
    ASSERT_TRUE(RunSheetSteps({ClickFavorites(), AnswerMessage(&notice),
                               AnswerTitleDialog(&offered, kFavorites, false, IDCANCEL),
                               PressSheetCancel()}));
    EXPECT_EQ(notice, "お気に入り はすでに存在します");
}

TEST(FavoritesImport, ShortcutsBecomeEntriesAndFoldersSubmenusInListingOrder) {
    ResetStore();
    TempFolder folder;
    folder.WriteShortcut("Example.URL", "http://example.com/");
    folder.WriteShortcut(".url", "http://dot.example/");
    folder.WriteFile("notes.txt", "[InternetShortcut]\r\nURL=http://notes.example/\r\n");
    folder.WriteShortcut("old.url.bak", "http://bak.example/");
    folder.WriteFile("nourl.url", "[Other]\r\nURL=http://other.example/\r\n");
    folder.WriteShortcut("日本語のページ.url", "http://jp.example/ページ");
    std::string desktop = folder.WriteFile("desktop.ini", "[.ShellClassInfo]\r\n");
    SetFileAttributesA(desktop.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    std::string system = folder.WriteShortcut("system.url", "http://system.example/");
    SetFileAttributesA(system.c_str(), FILE_ATTRIBUTE_SYSTEM);
    std::string news = folder.MakeFolder("News");
    folder.WriteShortcut("News\\one.url", "http://one.example/");
    folder.WriteShortcut("News\\two.url", "http://two.example/");
    folder.MakeFolder("Empty");

    std::string menu = ImportInto(folder.Path());

    std::string newsContent = InListingOrder(
        news, {{"one.url", "one=http://one.example/"}, {"two.url", "two=http://two.example/"}});
    std::string expected = InListingOrder(
        folder.Path(), {{"Example.URL", "Example=http://example.com/"},
                        {".url", "=http://dot.example/"},
                        {"nourl.url", "nourl="},
                        {"日本語のページ.url", "日本語のページ=http://jp.example/ページ"},
                        {"desktop.ini", "desktop.ini{}"},
                        {"system.url", "system.url{}"},
                        {"News", "News{" + newsContent + "}"},
                        {"Empty", "Empty{}"}});
    EXPECT_EQ(menu, std::string(kFavorites) + "{" + expected + "}");
}

TEST(FavoritesImport, AnEmptyFolderGivesAnEmptySubmenuAndIsRemembered) {
    ResetStore();
    TempFolder folder;
    EXPECT_EQ(ImportInto(folder.Path()), "お気に入り{}");
    EXPECT_EQ(StoredFavoritesFolder(), folder.Path());
}

TEST(FavoritesImport, LongAddressesAreReadWhole) {
    ResetStore();
    TempFolder folder;
    // Around the sizes of the reading buffer, which grows by 1024 characters.
    const size_t lengths[] = {1022, 1023, 1024, 2047, 2048, 5000};
    std::map<std::string, std::string> items;
    for (size_t length : lengths) {
        std::string name = "len" + std::to_string(length);
        std::string address = "http://long.example/";
        address += std::string(length - address.size(), 'x');
        folder.WriteShortcut(name + ".url", address);
        items[name + ".url"] = name + "=" + address;
    }
    std::string menu = ImportInto(folder.Path());
    EXPECT_EQ(menu, std::string(kFavorites) + "{" + InListingOrder(folder.Path(), items) + "}");
}

TEST(FavoritesImport, EntriesWhosePathPassesMaxPathAreLeftOut) {
    ResetStore();
    TempFolder folder;
    size_t base = folder.Path().size() + 1; // the folder and its backslash
    ASSERT_LT(base + 20, 200u);
    // A subfolder whose own path fits with room for "\*.*" and a short name.
    std::string deepName(250 - base, 'd');
    ASSERT_TRUE(folder.MakeLongFolder(deepName));
    std::string fits = "a.url";                         // 250 + 1 + 5 = 256 characters
    std::string passes = std::string(10, 'b') + ".url"; // 250 + 1 + 14 = 265 characters
    folder.WriteShortcut(deepName + "\\" + fits, "http://fits.example/");
    ASSERT_TRUE(folder.WriteLongFile(deepName + "\\" + passes, "[InternetShortcut]\r\nURL=x\r\n"));
    // A name at the top level that passes the limit on its own.
    std::string longName = std::string(255 - 4, 'c') + ".url";
    ASSERT_TRUE(folder.WriteLongFile(longName, "[InternetShortcut]\r\nURL=y\r\n"));
    folder.WriteShortcut("short.url", "http://short.example/");

    std::string menu = ImportInto(folder.Path());
    std::string expected =
        InListingOrder(folder.Path(), {{deepName, deepName + "{a=http://fits.example/}"},
                                       {"short.url", "short=http://short.example/"}});
    EXPECT_EQ(menu, std::string(kFavorites) + "{" + expected + "}");
}

TEST(FavoritesImport, FoldersNestedBeyondTheDepthLimitStayEmpty) {
    ResetStore();
    TempFolder folder;
    std::string relative;
    for (int level = 1; level <= kMaxFavoritesDepth + 5; ++level) {
        relative += (relative.empty() ? "" : "\\") + std::string("d");
        folder.MakeFolder(relative);
        folder.WriteShortcut(relative + "\\s.url", "http://level" + std::to_string(level) + "/");
    }
    std::string menu = ImportInto(folder.Path());
    // Levels 1 to the limit are read; the next level is an empty submenu.
    std::string expected = "d{}";
    for (int level = kMaxFavoritesDepth; level >= 1; --level) {
        std::string entry = "s=http://level" + std::to_string(level) + "/";
        std::string content =
            InListingOrder(folder.Path() + "\\" + relative.substr(0, level * 2 - 1),
                           {{"d", expected}, {"s.url", entry}});
        expected = "d{" + content + "}";
    }
    EXPECT_EQ(menu, std::string(kFavorites) + "{" + expected + "}");
}

// The build makes "link_loop" beside the program: links "back" (to the
// folder itself) and "again" (to it through its parent), and a folder "inner"
// whose link "up" leads back to link_loop. Followed, they would repeat the
// tree without end; each must stay an empty submenu.
TEST(FavoritesImport, LinksBackToAFolderBeingReadAreNotFollowed) {
    ResetStore();
    std::string loop = CurrentDirectory() + "\\link_loop";
    ASSERT_NE(GetFileAttributesA((loop + "\\inner\\up").c_str()), INVALID_FILE_ATTRIBUTES);
    std::string shortcut = loop + "\\a.url";
    std::string innerShortcut = loop + "\\inner\\b.url";
    struct Cleanup {
        std::vector<std::string> files;
        ~Cleanup() {
            for (const std::string& file : files)
                DeleteFileA(file.c_str());
        }
    } cleanup{{shortcut, innerShortcut}};
    WritePrivateProfileStringA("InternetShortcut", "URL", "http://a.example/", shortcut.c_str());
    WritePrivateProfileStringA("InternetShortcut", "URL", "http://b.example/",
                               innerShortcut.c_str());
    StoreFavoritesFolder(loop);
    SheetView view;
    ASSERT_TRUE(
        RunSheetSteps({ClickFavorites(), AcceptFolder(), ReadSheet(&view), PressSheetCancel()}));
    std::string inner =
        InListingOrder(loop + "\\inner", {{"b.url", "b=http://b.example/"}, {"up", "up{}"}});
    std::string expected = InListingOrder(loop, {{"a.url", "a=http://a.example/"},
                                                 {"back", "back{}"},
                                                 {"again", "again{}"},
                                                 {"inner", "inner{" + inner + "}"}});
    EXPECT_EQ(view.menu, std::string(kFavorites) + "{" + expected + "}");
}

// The build makes "linked_favorites" beside the program: a folder News (with
// a subfolder Sports and a link Home back to linked_favorites), and two links
// NewsLink and NewsAgain to News. The first link met is read like News
// itself; the second stays empty, as does Home, which would loop.
TEST(FavoritesImport, LinkedFoldersAreReadOnceAndLoopsStopped) {
    ResetStore();
    std::string linked = CurrentDirectory() + "\\linked_favorites";
    ASSERT_NE(GetFileAttributesA((linked + "\\NewsAgain").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT,
              0u);
    std::vector<std::string> shortcuts = {linked + "\\top.url", linked + "\\News\\n.url",
                                          linked + "\\News\\Sports\\s.url"};
    struct Cleanup {
        std::vector<std::string> files;
        ~Cleanup() {
            for (const std::string& file : files)
                DeleteFileA(file.c_str());
        }
    } cleanup{shortcuts};
    for (const std::string& shortcut : shortcuts)
        WritePrivateProfileStringA("InternetShortcut", "URL", "http://x.example/",
                                   shortcut.c_str());

    std::string menu = ImportInto(linked);
    std::string sports = "Sports{s=http://x.example/}";
    std::string news =
        "{" +
        InListingOrder(linked + "\\News",
                       {{"n.url", "n=http://x.example/"}, {"Sports", sports}, {"Home", "Home{}"}}) +
        "}";
    // Whichever link the listing gives first is the one read.
    std::vector<std::string> order = ListingOrder(linked);
    bool linkFirst = std::find(order.begin(), order.end(), "NewsLink") <
                     std::find(order.begin(), order.end(), "NewsAgain");
    std::string expected =
        InListingOrder(linked, {{"top.url", "top=http://x.example/"},
                                {"News", "News" + news},
                                {"NewsLink", "NewsLink" + (linkFirst ? news : "{}")},
                                {"NewsAgain", "NewsAgain" + (linkFirst ? "{}" : news)}});
    EXPECT_EQ(menu, std::string(kFavorites) + "{" + expected + "}");
}

// The tree refuses one of the import's insertions: the import fails as a
// whole, with one box, and the item it was to overwrite stays where it was.
TEST(FavoritesImport, ARefusedInsertionLeavesTheMenuAsItWasAndSaysSoOnce) {
    const std::string original = "A=a-text|お気に入り{old=http://old.example/}|Z=z-text";
    TempFolder folder;
    folder.WriteShortcut("new.url", "http://new.example/");
    folder.MakeFolder("News");
    folder.WriteShortcut("News\\a.url", "http://a.example/");
    std::string notice, offered, failure;
    SheetView view;
    RefusedInsertRuns runs;
    runs.prepare = [&] {
        ResetStore();
        WriteStoreMenu({TextEntry("A", "a-text"),
                        Submenu(kFavorites, {TextEntry("old", "http://old.example/")}),
                        TextEntry("Z", "z-text")});
        StoreFavoritesFolder("C:\\previous");
        failure.clear();
    };
    runs.steps = [&](long refused) {
        std::vector<Step> steps = {ClickFavorites(), AnswerMessage(&notice),
                                   AnswerTitleDialog(&offered, kFavorites, true, IDOK),
                                   When(kFolderDialogCaption, [&](HWND dialog) {
                                       SetCurrentDirectoryA(folder.Path().c_str());
                                       PostClick(dialog, IDOK);
                                   })};
        if (refused >= 0)
            steps.push_back(AnswerMessage(&failure));
        steps.push_back(ReadSheet(&view));
        steps.push_back(PressSheetCancel());
        return steps;
    };
    runs.check = [&](long refused) {
        if (refused < 0) {
            std::string imported =
                InListingOrder(folder.Path(), {{"new.url", "new=http://new.example/"},
                                               {"News", "News{a=http://a.example/}"}});
            EXPECT_EQ(view.menu, "A=a-text|Z=z-text|お気に入り{" + imported + "}");
            return;
        }
        EXPECT_EQ(failure, "項目を追加できなかったため、何も挿入しませんでした。") << refused;
        EXPECT_EQ(view.menu, original) << refused;
        EXPECT_FALSE(view.applyEnabled) << refused;
        EXPECT_EQ(StoredFavoritesFolder(), "C:\\previous") << refused;
    };
    // The submenu, the folder News, and two shortcuts.
    EXPECT_EQ(RunRefusingEachInsert(runs), 4);
}
