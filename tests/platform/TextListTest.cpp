#include "platform/TextList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace morvane {
namespace {

// Texts of every size, from empty to larger than a block, added one after
// the other: each view must still read its own text (and end with a zero
// character) after all the others were added, in whatever order the list
// was then put.
TEST(TextList, ViewsOutliveLaterTextsAndReordering) {
    std::vector<std::string> texts;
    for (size_t i = 0; i < 20000; ++i)
        texts.push_back(std::string(i % 97, static_cast<char>('a' + i % 26)) + std::to_string(i));
    texts.push_back("");
    texts.push_back(std::string(3u << 20, 'x')); // more than the largest block
    texts.push_back("after the big one");

    TextList list;
    std::vector<TextList::View> early;
    for (const std::string& text : texts) {
        list.push_back(text);
        early.push_back(list[list.size() - 1]);
    }
    ASSERT_EQ(list.size(), texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(early[i], texts[i]) << i;
        EXPECT_EQ(early[i].data()[early[i].size()], '\0') << i;
    }

    std::vector<size_t> reversed;
    for (size_t i = texts.size(); i-- > 0;)
        reversed.push_back(i);
    list.reorder(reversed);
    for (size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(list[i], texts[texts.size() - 1 - i]) << i;
    EXPECT_EQ(list[0].data(), early.back().data()); // reordering moved no text
}

// A list moved away from is empty and can be filled again without touching
// the texts of the list it was moved to.
TEST(TextList, AMovedFromListStartsAfresh) {
    U16TextList first;
    first.push_back(u"kept");
    U16TextList second = std::move(first);
    EXPECT_TRUE(first.empty());
    first.push_back(u"new");
    EXPECT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0], u"kept");
    EXPECT_EQ(first[0], u"new");
    second.clear();
    EXPECT_TRUE(second.empty());
    second.push_back(u"again");
    EXPECT_EQ(second[0], u"again");
}

// Texts taken from another list without a copy outlive that list, also when
// it grows new blocks between two takes and when it is refilled in place.
TEST(TextList, SharedTextsOutliveTheListTheyCameFrom) {
    TextList source, taker;
    source.push_back("first");
    taker.pushShared(source, 0);
    for (int i = 0; i < 50000; ++i) // many new blocks
        source.push_back("path number " + std::to_string(i));
    taker.pushShared(source, 50000);
    taker.push_back("its own");
    source = TextList();
    source.push_back("refilled");
    taker.pushShared(source, 0);
    source.clear();
    ASSERT_EQ(taker.size(), 4u);
    EXPECT_EQ(taker[0], "first");
    EXPECT_EQ(taker[1], "path number 49999");
    EXPECT_EQ(taker[2], "its own");
    EXPECT_EQ(taker[3], "refilled");
}

} // namespace
} // namespace morvane
