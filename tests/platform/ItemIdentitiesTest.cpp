#include "platform/ItemIdentities.h"

#include <gtest/gtest.h>

#include <vector>

namespace morvane {
namespace {

// The compact list gives back every identity as added, across devices met in
// any order (the largest device numbers and inodes included), after cutting,
// filling up with unknown identities, and reordering, exactly as a plain
// vector of identities does.
TEST(ItemIdentities, GiveBackWhatAPlainVectorWould) {
    const std::uint64_t devices[] = {2049, 0, ~0ull, 2049, 77, 0, 77};
    const char types[] = {'f', 'd', 'l', 'o', 0};
    std::vector<ItemIdentity> model;
    ItemIdentities list;
    for (size_t i = 0; i < 1000; ++i) {
        const ItemIdentity identity{devices[i * 7 / 1000], i % 3 ? i * 2654435761u : ~0ull - i,
                                    types[i % 5]};
        model.push_back(identity);
        list.push_back(identity);
    }
    const auto expectSame = [&](const char* when) {
        ASSERT_EQ(list.size(), model.size()) << when;
        for (size_t i = 0; i < model.size(); ++i)
            ASSERT_EQ(list[i], model[i]) << when << " " << i;
    };
    expectSame("added");
    model.resize(600);
    list.resize(600);
    expectSame("cut");
    model.resize(650);
    list.resize(650);
    expectSame("filled up");
    std::vector<std::uint32_t> order;
    for (std::uint32_t i = 0; i < 650; ++i)
        order.push_back((i * 37 + 11) % 650); // a permutation: 37 and 650 share no factor
    std::vector<ItemIdentity> reordered;
    for (const std::uint32_t from : order)
        reordered.push_back(model[from]);
    model = reordered;
    list.reorder(order);
    expectSame("reordered");
}

} // namespace
} // namespace morvane
