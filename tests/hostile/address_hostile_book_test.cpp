// The address-book popup over books that are no address books: random bytes,
// and random runs of the keywords that open and close groups. The build ends,
// and every entry's index is its place in the text list.
#include <gtest/gtest.h>

#include "random_bytes.h"
#include "tests/plugin/address_book/address_fixture.h"

namespace {

class AddressHostileBook : public AddressMenuTest {
  protected:
    // Builds the popup from the book and checks that the entries' indexes
    // run 0, 1, 2 ... in menu order and that the last one inserts a text.
    size_t BuildAndCheck(const std::string& book) {
        WriteMailboxFile("Address", book);
        SetAddressFile("*");
        EXPECT_EQ(BuildHostMenu(), 3);
        AddressView view = ViewAddressPopup();
        for (size_t i = 0; i < view.commandIds.size(); ++i) {
            const host::Registration* registration = host::FindRegistration(view.commandIds[i]);
            if (!registration) {
                ADD_FAILURE() << "entry " << i << " has no registration";
                break;
            }
            EXPECT_EQ(registration->data, static_cast<LPARAM>(i));
        }
        if (!view.commandIds.empty()) {
            EXPECT_TRUE(host::InvokeCommand(view.commandIds.back(), kComposeWindow));
        }
        return view.commandIds.size();
    }
};

TEST_F(AddressHostileBook, RandomBytes) {
    BuildAndCheck(RandomBytes(1 << 20, 5));
}

TEST_F(AddressHostileBook, RandomKeywordLines) {
    // A stray "End group" at the top ends the file, so how much of it is read
    // is up to chance; the indexes must hold for whatever is.
    std::string book = "first:entry\n" +
                       RandomPieces({"GROUP deep\n", "group\n", "End group\n", "Separator\n",
                                     "# note\n", "name:text\n", "::x:y\n", "label only\n", "\r\n",
                                     "  \t", "\n", std::string("nul\0in:line\n", 12),
                                     std::string(3000, 'L') + ":" + std::string(3000, 'T') + "\n"},
                                    100000, 9);
    EXPECT_GE(BuildAndCheck(book), 1u);
}

TEST_F(AddressHostileBook, TenThousandGroupsOpenAtOnce) {
    std::string book = "top:first\n";
    for (int i = 0; i < 10000; ++i)
        book += "GROUP g" + std::to_string(i) + "\nin:" + std::to_string(i) + "\n";
    // The popup nests only so deep; what lies beyond is dropped, not built.
    size_t entries = BuildAndCheck(book);
    EXPECT_GE(entries, 2u);
    EXPECT_LT(entries, 100u);
}

} // namespace
