#include "MRVN7x/filelist/PathIndex.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace morvane {
namespace {

// An index over paths made when asked: the first row of a path is found,
// every row of a path held twice or more is marked, and a path that differs
// by one byte or by case is another path.
TEST(PathIndex, FindsTheFirstRowAndMarksSharedPaths) {
    std::vector<std::string> paths;
    for (int i = 0; i < 5000; ++i)
        paths.push_back("/f/" + std::to_string(i));
    paths.push_back("/f/7");       // row 5000 shares row 7's path
    paths.push_back("/F/7");       // another path
    for (int i = 0; i < 3000; ++i) // many rows of one path
        paths.push_back("/f/same");
    const auto pathOf = [&paths](size_t row) { return paths[row] + ""; };
    const PathIndex index(paths.size(), pathOf);

    EXPECT_EQ(index.find("/f/7"), 7);
    EXPECT_EQ(index.find("/F/7"), 5001);
    EXPECT_EQ(index.find("/f/same"), 5002);
    EXPECT_EQ(index.find("/f/4999"), 4999);
    for (const char* absent : {"", "/f/", "/f/5000", "/f/7 ", "f/7"})
        EXPECT_EQ(index.find(absent), kPathNotFound) << absent;

    const std::vector<bool> shared = index.shared();
    std::vector<size_t> marked;
    for (size_t row = 0; row < shared.size(); ++row)
        if (shared[row])
            marked.push_back(row);
    std::vector<size_t> expected = {7, 5000};
    for (size_t row = 5002; row < paths.size(); ++row)
        expected.push_back(row);
    EXPECT_EQ(marked, expected);

    // Looked up in batches (45 paths: two whole ones and a part), every path
    // gets its own answer, in order.
    std::vector<std::string> queries = {"/f/7", "/F/7", "", "/f/same", "/f/5000"};
    for (int i = 0; i < 40; ++i)
        queries.push_back("/f/" + std::to_string(i * 131)); // the last is absent
    std::vector<int> found;
    index.findEach(
        queries.size(), [&](size_t i, std::string& path) { path = queries[i]; },
        [&](size_t i, int row) {
            EXPECT_EQ(i, found.size());
            found.push_back(row);
        });
    ASSERT_EQ(found.size(), queries.size());
    for (size_t i = 0; i < queries.size(); ++i)
        EXPECT_EQ(found[i], index.find(queries[i])) << queries[i];
    EXPECT_EQ(found[0], 7);
    EXPECT_EQ(found.back(), kPathNotFound);
}

} // namespace
} // namespace morvane
