// The text list across the points where its array grows: every text stays at
// the index it was appended at, and clearing leaves a list that works again.
#include <gtest/gtest.h>

#include <string>

#include "plugin/menu/text_list.h"

namespace {

TEST(TextList, TextsKeepTheirIndexesAsTheArrayGrows) {
    TextList list = {};
    for (DWORD i = 0; i < 1000; ++i)
        ASSERT_EQ(TextListAppend(&list, ("text " + std::to_string(i)).c_str()), i + 1);
    ASSERT_EQ(list.count, 1000u);
    for (DWORD i = 0; i < 1000; ++i)
        ASSERT_STREQ(TextListAt(&list, i), ("text " + std::to_string(i)).c_str());
    EXPECT_EQ(TextListAt(&list, 1000), nullptr) << "no slot beyond the count is handed out";
    TextListClear(&list);
    EXPECT_EQ(list.count, 0u);
    EXPECT_EQ(list.items, nullptr);
    EXPECT_EQ(TextListAt(&list, 0), nullptr);
}

TEST(TextList, AppendCopiesAndNullIsEmpty) {
    TextList list = {};
    char text[] = "original";
    TextListAppend(&list, text);
    text[0] = 'X';
    EXPECT_EQ(TextListAppend(&list, nullptr), 2u);
    EXPECT_STREQ(TextListAt(&list, 0), "original");
    EXPECT_STREQ(TextListAt(&list, 1), "");
    TextListClear(&list);
    EXPECT_EQ(TextListAppend(&list, "again"), 1u) << "a cleared list starts over at index 0";
    EXPECT_STREQ(TextListAt(&list, 0), "again");
    TextListClear(&list);
}

// The entry list holds the menu snapshot's own strings: a cleared list of
// lent strings frees none of them (the heap would refuse a pointer into the
// stack), and the list then owns its copies again.
TEST(TextList, LentStringsStayTheLendersOwn) {
    TextList list = {};
    char lent[] = "lent";
    EXPECT_EQ(TextListLend(&list, lent), 1u);
    EXPECT_EQ(TextListLend(&list, nullptr), 2u);
    EXPECT_EQ(TextListAt(&list, 0), lent) << "not a copy";
    EXPECT_STREQ(TextListAt(&list, 1), "");
    TextListClear(&list);
    EXPECT_STREQ(lent, "lent");
    TextListAppend(&list, "copied");
    TextListClear(&list);
}

} // namespace
