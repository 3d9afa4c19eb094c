#include "MRVN7x/engine/RenameOptimizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

using namespace morvane;

TEST(RenameOptimizer, DeepestFirstThenAscendingPaths) {
    struct Case {
        std::vector<std::string> added;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {{"/x/folder", "/x/folder/inner.txt"}, {"/x/folder/inner.txt", "/x/folder"}},
        {{"/b/a", "/a/z"}, {"/a/z", "/b/a"}},
        {{"/x/b", "/x/a"}, {"/x/a", "/x/b"}},
        {{"/x/B", "/x/a", "/x/A"}, {"/x/A", "/x/B", "/x/a"}}, // case-sensitive order
        {{"/r/a", "/r/a/b/c/d", "/r/a/b", "/r/z/y", "/r/a/b/c"},
         {"/r/a/b/c/d", "/r/a/b/c", "/r/a/b", "/r/z/y", "/r/a"}},
        {{}, {}},
    };
    for (const auto& c : cases) {
        RenameOptimizer optimizer;
        for (const auto& path : c.added)
            optimizer.addOldName(path, std::u16string(path.begin(), path.end()) + u"!");
        optimizer.optimizeRenameOrder();
        EXPECT_EQ(optimizer.oldNames(), c.expected);
        // The new names travel with their paths.
        for (size_t i = 0; i < optimizer.count(); ++i) {
            const auto& path = optimizer.oldNames()[i];
            EXPECT_EQ(optimizer.newNames()[i], std::u16string(path.begin(), path.end()) + u"!");
        }
    }
}

TEST(RenameOptimizer, EveryItemComesBeforeEachFolderAboveIt) {
    std::mt19937 random(7);
    std::vector<std::string> paths;
    for (int i = 0; i < 2000; ++i) {
        std::string path;
        const int depth = 1 + static_cast<int>(random() % 5);
        for (int d = 0; d < depth; ++d)
            path += "/" + std::to_string(random() % 4);
        paths.push_back(path);
    }
    std::sort(paths.begin(), paths.end());
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
    std::shuffle(paths.begin(), paths.end(), random);
    RenameOptimizer optimizer;
    for (const auto& path : paths)
        optimizer.addOldName(path, u"n");
    optimizer.optimizeRenameOrder();
    std::map<std::string, size_t> position;
    for (size_t i = 0; i < optimizer.count(); ++i)
        position[optimizer.oldNames()[i]] = i;
    for (const auto& [path, index] : position) {
        for (size_t slash = path.find('/', 1); slash != std::string::npos;
             slash = path.find('/', slash + 1)) {
            auto folder = position.find(path.substr(0, slash));
            if (folder != position.end()) {
                EXPECT_LT(index, folder->second) << path;
            }
        }
    }
}
