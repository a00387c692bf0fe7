// What the lines of an address book become in the popup, through a real
// compose-window menu build.
#include "address_fixture.h"

namespace {

typedef std::vector<std::string> Texts;

} // namespace

class AddressBookFormat : public AddressMenuTest {
  protected:
    // Builds the popup from a default book holding bytes.
    AddressView BuildFromBook(const std::string& bytes) {
        WriteMailboxFile("Address", bytes);
        SetAddressFile("*");
        EXPECT_EQ(BuildHostMenu(), 3);
        return ViewAddressPopup();
    }
};

TEST_F(AddressBookFormat, GroupWithEntriesAndSeparator) {
    AddressView view = BuildFromBook("GROUP 友人\n"
                                     "山田 太郎: yamada@example.jp\n"
                                     "Hanako:hanako@example.jp\n"
                                     "Separator\n"
                                     "鈴木:suzuki@example.jp\n"
                                     "End group\n"
                                     "Boss:boss@example.jp\n");
    EXPECT_EQ(view.shape, "友人{山田 太郎=0,Hanako=1,-,鈴木=2},Boss=3");
    EXPECT_EQ(InsertedTexts(view.commandIds), (Texts{"yamada@example.jp", "hanako@example.jp",
                                                     "suzuki@example.jp", "boss@example.jp"}));
}

TEST_F(AddressBookFormat, NestedGroupsEndWithTheFile) {
    AddressView view = BuildFromBook("GROUP One\nA:1\n"
                                     "  GROUP Two\n  B:2\n"
                                     "    GROUP Three\n    C:3\n");
    EXPECT_EQ(view.shape, "One{A=0,Two{B=1,Three{C=2}}}");
    EXPECT_EQ(InsertedTexts(view.commandIds), (Texts{"1", "2", "3"}));
}

TEST_F(AddressBookFormat, KeywordsArePrefixesInAnyCase) {
    AddressView view = BuildFromBook("group  Family\nx:y\nEND GROUP\n"
                                     "Separators\n"
                                     "GROUP\nEnd groups\n"
                                     "Groupware:x\nz:1\n");
    EXPECT_EQ(view.shape, "Family{x=0},-,{},ware:x{z=1}");
}

TEST_F(AddressBookFormat, EntryTextsAfterTheFirstColon) {
    AddressView view = BuildFromBook("Taro:  abc\n"
                                     "a:b:c\n"
                                     "::x:y\n"
                                     "\tIndented :\t text with trailing blanks  \n"
                                     "Empty:   \n"
                                     "NoColon\n"
                                     "NoText:\n"
                                     ":::\n");
    EXPECT_EQ(view.shape, "Taro=0,a=1,x=2,Indented =3,Empty=4");
    EXPECT_EQ(InsertedTexts(view.commandIds),
              (Texts{"abc", "b:c", "y", "text with trailing blanks  ", ""}));
}

TEST_F(AddressBookFormat, CommentsAndBlankLinesAreSkipped) {
    AddressView view = BuildFromBook("A:1\n   \n# a note: not an entry\n\n\t\nB:2\n");
    EXPECT_EQ(view.shape, "A=0,B=1");
}

TEST_F(AddressBookFormat, LastLineWithoutLineFeedIsNotRead) {
    AddressView view = BuildFromBook("A:1\nB:2");
    EXPECT_EQ(view.shape, "A=0");
}

TEST_F(AddressBookFormat, LongLineIsReadWhole) {
    std::string text(3000, 'x');
    text[1500] = ':';
    text.back() = 'e';
    AddressView view = BuildFromBook("Long:" + text + "\nAfter:1\n");
    EXPECT_EQ(view.shape, "Long=0,After=1");
    EXPECT_EQ(InsertedTexts(view.commandIds), (Texts{text, "1"}));
}

TEST_F(AddressBookFormat, CarriageReturnLineFeedFile) {
    AddressView view = BuildFromBook("GROUP F\r\nA:1\r\n\r\n  \r\nSeparator\r\nEnd group\r\n"
                                     "B:2\r\n");
    EXPECT_EQ(view.shape, "F{A=0,-},B=1");
    EXPECT_EQ(InsertedTexts(view.commandIds), (Texts{"1", "2"}));
}

TEST_F(AddressBookFormat, StrayEndGroupEndsOnlyThatFile) {
    WriteMailboxFile("Address", "A:1\nEnd group\nB:2\n");
    WriteMailboxFile("second.txt", "C:3\n");
    SetAddressFile("*;" + Mailbox() + "second.txt");
    ASSERT_EQ(BuildHostMenu(), 3);
    AddressView view = ViewAddressPopup();
    EXPECT_EQ(view.shape, "A=0,C=1");
    EXPECT_EQ(InsertedTexts(view.commandIds), (Texts{"1", "3"}));
}

TEST_F(AddressBookFormat, DeepNestingIsBoundedAndDropsTheRest) {
    // Far more open groups than any stack would take one call each for.
    std::string bytes;
    for (int depth = 0; depth < 100000; ++depth)
        bytes += "GROUP g\n";
    bytes += "Lost:1\n";
    WriteMailboxFile("Address", bytes);
    WriteMailboxFile("second.txt", "GROUP a\nA:1\nEnd group\nB:2\n");
    SetAddressFile("*;" + Mailbox() + "second.txt");
    ASSERT_EQ(BuildHostMenu(), 3);
    HMENU popup = AddressPopup();
    ASSERT_EQ(GetMenuItemCount(popup), 3);
    int depth = 0;
    for (HMENU menu = GetSubMenu(popup, 0); menu; menu = GetSubMenu(menu, 0))
        ++depth;
    EXPECT_EQ(depth, 20);
    // The next book is read as usual, its entries numbered from 0.
    AddressView view = ViewAddressPopup();
    std::string nested;
    for (int level = 0; level < 20; ++level)
        nested = "g{" + nested + "}";
    EXPECT_EQ(view.shape, nested + ",a{A=0},B=1");
    EXPECT_EQ(InsertedTexts(view.commandIds), (Texts{"1", "2"}));
}
