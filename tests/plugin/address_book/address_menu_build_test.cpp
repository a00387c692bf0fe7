// The address-book popup in the compose-window menu build: which books are
// read, when the popup is there, its columns, and insertion of its texts.
#include "address_fixture.h"

#include "host/host_stub.h"
#include "import_patch.h"

#include <functional>

namespace {

typedef std::vector<std::string> Texts;

const char kSampleBook[] = "A:a\nB:b\n";

} // namespace

class AddressMenuBuild : public AddressMenuTest {
  protected:
    AddressView BuildWithAddressFile(const std::string& value) {
        SetAddressFile(value);
        EXPECT_EQ(BuildHostMenu(), 3);
        return ViewAddressPopup();
    }
};

TEST_F(AddressMenuBuild, DefaultBookAlone) {
    WriteMailboxFile("Address", kSampleBook);
    AddressView view = BuildWithAddressFile("*");
    EXPECT_EQ(view.shape, "A=0,B=1");
    EXPECT_EQ(InsertedTexts(view.commandIds), (Texts{"a", "b"}));
}

TEST_F(AddressMenuBuild, BooksInListOrderWithRunningIndexes) {
    WriteMailboxFile("Address", kSampleBook);
    WriteMailboxFile("second.txt", "GROUP G\nC:c\nEnd group\nD:d\n");
    // A relative path is taken from the mailbox folder, whatever the current
    // directory holds: there a planted book of that name is never read.
    char previous[MAX_PATH];
    GetCurrentDirectoryA(sizeof previous, previous);
    std::string planted = Mailbox() + "planted";
    CreateDirectoryA(planted.c_str(), nullptr);
    WriteMailboxFile("planted\\second.txt", "X:planted\n");
    SetCurrentDirectoryA(planted.c_str());
    AddressView view = BuildWithAddressFile("*;second.txt");
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(view.shape, "A=0,B=1,G{C=2},D=3");
    EXPECT_EQ(InsertedTexts(view.commandIds), (Texts{"a", "b", "c", "d"}));

    // Empty fields are passed over; the rest of a "*" field is ignored; a
    // missing book adds nothing and the others are still read.
    std::string second = Mailbox() + "second.txt";
    view = BuildWithAddressFile(";;" + second + ";;*anything;" + Mailbox() + "missing.txt;");
    EXPECT_EQ(view.shape, "G{C=0},D=1,A=2,B=3");
}

TEST_F(AddressMenuBuild, LongAddressFileValueIsReadWhole) {
    WriteMailboxFile("Address", kSampleBook);
    WriteMailboxFile("second.txt", "C:c\n");
    std::string second = Mailbox() + "second.txt";
    // Values that end right at the first buffer's and the second buffer's
    // size, and one well past them: the last field must not be cut.
    for (size_t length : {255u, 383u, 1000u}) {
        std::string value = "*;" + second;
        value = std::string(length - value.size(), ';') + value;
        ASSERT_EQ(value.size(), length);
        AddressView view = BuildWithAddressFile(value);
        EXPECT_EQ(view.shape, "A=0,B=1,C=2") << length;
    }
}

TEST_F(AddressMenuBuild, EmptyPopupWithoutAddressFile) {
    // No Mailbox.ini at all.
    EXPECT_EQ(BuildHostMenu(), 3);
    EXPECT_EQ(GetMenuItemCount(AddressPopup()), 0);
    // An empty value, and a value of separators only.
    WriteMailboxFile("Address", kSampleBook);
    for (const char* value : {"", ";;;"}) {
        EXPECT_EQ(ViewAddressPopup().shape, "");
        SetAddressFile(value);
        EXPECT_EQ(BuildHostMenu(), 3);
        EXPECT_EQ(GetMenuItemCount(AddressPopup()), 0) << value;
    }
}

TEST_F(AddressMenuBuild, MailboxPathTooLongGivesEmptyPopup) {
    std::string folder = "C:\\" + std::string(5000, 'm') + "\\";
    host::SetMailbox(folder.c_str());
    EXPECT_EQ(BuildHostMenu(), 3);
    EXPECT_EQ(GetMenuItemCount(AddressPopup()), 0);
}

TEST_F(AddressMenuBuild, BookHeldOpenByAnotherProgramIsSkipped) {
    WriteMailboxFile("Address", kSampleBook);
    WriteMailboxFile("second.txt", "C:c\n");
    HANDLE held = CreateFileA((Mailbox() + "Address").c_str(), GENERIC_READ, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    AddressView view = BuildWithAddressFile("*;" + Mailbox() + "second.txt");
    CloseHandle(held);
    EXPECT_EQ(view.shape, "C=0");
    EXPECT_EQ(InsertedTexts(view.commandIds), Texts{"c"});
    // Once it is closed, the next build reads it again.
    view = BuildWithAddressFile("*;" + Mailbox() + "second.txt");
    EXPECT_EQ(view.shape, "A=0,B=1,C=2");
}

TEST_F(AddressMenuBuild, NoAddressPopupUnlessSwitchedOn) {
    WriteMailboxFile("Address", kSampleBook);
    SetAddressFile("*");
    SetUseAddress(0);
    EXPECT_EQ(BuildHostMenu(), 2);
    SetUseAddress(-1);
    EXPECT_EQ(BuildHostMenu(), 2);
    EXPECT_EQ(host::RegistrationCount(), 0u);
    SetUseAddress(7);
    EXPECT_EQ(BuildHostMenu(), 3);
    EXPECT_EQ(ViewAddressPopup().shape, "A=0,B=1");
}

TEST_F(AddressMenuBuild, LongBooksBreakIntoColumnsBySreenHeight) {
    const int itemHeight = GetSystemMetrics(SM_CYMENUSIZE);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_GT(itemHeight, 1);
    // The first column holds the items that fit; the item that passes the
    // screen starts the next, and every later column holds one item more.
    const int perColumn = screenHeight / itemHeight + 1;
    std::string bytes = "GROUP G\n";
    for (int i = 0; i <= perColumn; ++i)
        bytes += "In:x\n";
    bytes += "End group\n";
    for (int i = 0; i < 3 * perColumn; ++i)
        bytes += "Out:x\n";
    WriteMailboxFile("Address", bytes);
    AddressView view = BuildWithAddressFile("*");

    HMENU popup = AddressPopup();
    auto breaksOf = [](HMENU menu) {
        std::vector<int> breaks;
        for (int position = 0; position < GetMenuItemCount(menu); ++position) {
            if (GetMenuState(menu, position, MF_BYPOSITION) & MF_MENUBREAK)
                breaks.push_back(position);
        }
        return breaks;
    };
    // The group counts as one item of the top level; its own entries have a
    // running height of their own.
    EXPECT_EQ(breaksOf(popup),
              (std::vector<int>{perColumn - 1, 2 * perColumn - 1, 3 * perColumn - 1}));
    EXPECT_EQ(breaksOf(GetSubMenu(popup, 0)), std::vector<int>{perColumn - 1});
    // Breaks without a dividing line.
    EXPECT_FALSE(GetMenuState(popup, perColumn - 1, MF_BYPOSITION) & MF_MENUBARBREAK);

    // Separators count half an item height.
    const int separatorsPerColumn = screenHeight / (itemHeight / 2) + 1;
    WriteMailboxFile("Address", [&] {
        std::string separators;
        for (int i = 0; i < separatorsPerColumn + 1; ++i)
            separators += "Separator\n";
        return separators;
    }());
    BuildWithAddressFile("*");
    EXPECT_EQ(breaksOf(AddressPopup()), std::vector<int>{separatorsPerColumn - 1});
}

TEST_F(AddressMenuBuild, ChosenEntryReplacesTheSelection) {
    WriteMailboxFile("Address", "山田:山田 太郎 <yamada@example.jp>\nB:b\n");
    AddressView view = BuildWithAddressFile("*");
    ASSERT_EQ(view.commandIds.size(), 2u);
    HMENU popup = AddressPopup();
    SetWindowTextA(editor_, "To: XXXX, ok");
    SendMessageA(editor_, EM_SETSEL, 4, 8);
    ASSERT_TRUE(host::InvokeCommand(view.commandIds[0], kComposeWindow));
    char text[256] = "";
    GetWindowTextA(editor_, text, sizeof text);
    EXPECT_STREQ(text, "To: 山田 太郎 <yamada@example.jp>, ok");
    // The popups are torn down; the texts stay for a late second choice.
    EXPECT_FALSE(IsMenu(popup));
    ASSERT_TRUE(host::InvokeCommand(view.commandIds[1], kComposeWindow));
    GetWindowTextA(editor_, text, sizeof text);
    EXPECT_STREQ(text, "To: 山田 太郎 <yamada@example.jp>b, ok");
}

TEST_F(AddressMenuBuild, EachBuildStartsAfresh) {
    WriteMailboxFile("Address", kSampleBook);
    AddressView first = BuildWithAddressFile("*");
    WriteMailboxFile("Address", "C:c\n");
    AddressView second = BuildWithAddressFile("*");
    EXPECT_EQ(second.shape, "C=0");
    EXPECT_EQ(InsertedTexts(second.commandIds), Texts{"c"});
    // An id of the earlier build now finds the new list's text at its index.
    EXPECT_EQ(InsertedTexts({first.commandIds[1]}), Texts{""});
}

TEST_F(AddressMenuBuild, DemoSampleMailbox) {
    char folder[MAX_PATH];
    GetCurrentDirectoryA(sizeof folder, folder);
    std::string sample = std::string(folder) + "\\sample-mailbox\\";
    host::SetMailbox(sample.c_str());
    ASSERT_EQ(BuildHostMenu(), 3);
    AddressView view = ViewAddressPopup();
    EXPECT_EQ(view.shape, "友人{山田 太郎=0,佐藤 花子=1,-,鈴木 一郎=2},"
                          "仕事{営業部=3,サポート窓口=4},-,自分=5");
    EXPECT_EQ(
        InsertedTexts(view.commandIds),
        (Texts{"yamada.taro@example.jp", "hanako.sato@example.jp", "ichiro.suzuki@example.com",
               "sales@example.co.jp", "support@example.co.jp", "me@example.jp"}));
}

namespace {

// Tevrix.dll's opening of files, counted.
decltype(&CreateFileA) g_createFile;
int g_filesOpened;
HANDLE WINAPI CountedCreateFile(LPCSTR name, DWORD access, DWORD share,
                                LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                                HANDLE pattern) {
    ++g_filesOpened;
    return g_createFile(name, access, share, security, disposition, flags, pattern);
}

// Tevrix.dll's reading of the list of books, counted.
decltype(&GetPrivateProfileStringA) g_readProfile;
int g_listsRead;
DWORD WINAPI CountedReadProfile(LPCSTR section, LPCSTR key, LPCSTR fallback, LPSTR value,
                                DWORD size, LPCSTR file) {
    ++g_listsRead;
    return g_readProfile(section, key, fallback, value, size, file);
}

} // namespace

TEST_F(AddressMenuBuild, EachChangeOfABookOrTheListIsSeenAtTheNextBuildAndNothingElseRead) {
    ImportPatch openPatch(GetModuleHandleA("Tevrix.dll"), "kernel32.dll", "CreateFileA",
                          reinterpret_cast<void*>(CountedCreateFile));
    ImportPatch profilePatch(GetModuleHandleA("Tevrix.dll"), "kernel32.dll",
                             "GetPrivateProfileStringA",
                             reinterpret_cast<void*>(CountedReadProfile));
    ASSERT_TRUE(openPatch.Patched() && profilePatch.Patched());
    g_createFile = reinterpret_cast<decltype(g_createFile)>(openPatch.Original());
    g_readProfile = reinterpret_cast<decltype(g_readProfile)>(profilePatch.Original());
    const std::string second = Mailbox() + "second.txt";
    // Each write dated a different minute of the past: a book written in the
    // last seconds is read at every build, since a second write within the
    // clock's step would keep its time.
    int minutesAgo = 600;
    auto write = [&](const std::string& name, const std::string& bytes) {
        WriteMailboxFile(name, bytes);
        HANDLE file = CreateFileA((Mailbox() + name).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        FILETIME time;
        GetSystemTimeAsFileTime(&time);
        ULARGE_INTEGER value = {{time.dwLowDateTime, time.dwHighDateTime}};
        value.QuadPart -= 600000000ULL * static_cast<ULONGLONG>(minutesAgo--);
        time = {value.LowPart, value.HighPart};
        EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &time));
        CloseHandle(file);
    };
    struct Change {
        const char* what;
        std::function<void()> make;
        const char* list;
        const char* shape;
    } changes[] = {
        {"rewritten, the same size", [&] { write("Address", "C:c\nD:d\n"); }, "*", "C=0,D=1"},
        {"grown", [&] { write("Address", "C:c\nD:d\nGROUP G\nE:e\n"); }, "*", "C=0,D=1,G{E=2}"},
        {"replaced by another file",
         [&] {
             write("new.txt", "F:f\nG:g\n");
             MoveFileExA((Mailbox() + "new.txt").c_str(), (Mailbox() + "Address").c_str(),
                         MOVEFILE_REPLACE_EXISTING);
         },
         "*", "F=0,G=1"},
        {"a second book listed", [&] { write("second.txt", "H:h\n"); }, "*;second.txt",
         "F=0,G=1,H=2"},
        {"the books listed the other way round", [] {}, "second.txt;*", "H=0,F=1,G=2"},
        {"the first book deleted", [&] { DeleteFileA(second.c_str()); }, "second.txt;*", "F=0,G=1"},
        {"the first book made again", [&] { write("second.txt", "I:i\n"); }, "second.txt;*",
         "I=0,F=1,G=2"},
        {"the list shortened", [] {}, "*", "F=0,G=1"},
    };
    write("Address", kSampleBook);
    write("Mailbox.ini", "[Property]\r\nAddressFile=*\r\n");
    EXPECT_EQ(BuildHostMenu(), 3);
    EXPECT_EQ(ViewAddressPopup().shape, "A=0,B=1");
    for (Change& change : changes) {
        SCOPED_TRACE(change.what);
        change.make();
        std::string list = change.list;
        for (size_t at = list.find("second.txt"); at != std::string::npos;
             at = list.find("second.txt", at + second.size()))
            list.replace(at, strlen("second.txt"), second);
        write("Mailbox.ini", "[Property]\r\nAddressFile=" + list + "\r\n");
        EXPECT_EQ(BuildHostMenu(), 3);
        AddressView view = ViewAddressPopup();
        EXPECT_EQ(view.shape, change.shape);
        g_filesOpened = g_listsRead = 0;
        EXPECT_EQ(BuildHostMenu(), 3);
        view = ViewAddressPopup();
        EXPECT_EQ(view.shape, change.shape);
        EXPECT_EQ(g_filesOpened, 0) << "unchanged books are not read again";
        EXPECT_EQ(g_listsRead, 0) << "nor the unchanged list";
        std::vector<std::string> texts = InsertedTexts(view.commandIds);
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(texts[0], std::string(1, static_cast<char>(change.shape[0] + 'a' - 'A')));
    }
}
