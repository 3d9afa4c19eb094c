#include "MRVN7x/filelist/RawFileList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace morvane {
namespace {

TEST(RawFileList, LegalityByPathComponents) {
    struct Case {
        std::vector<std::string> roots;
        std::string candidate;
        bool legal;
    };
    const std::vector<Case> cases = {
        {{}, "/a/b", true},
        {{"/a/b"}, "/a/b", false},       // the same path
        {{"/a/b"}, "/a/b/c", false},     // inside a root
        {{"/a/b"}, "/a/b/c/d/e", false}, // deep inside
        {{"/a/b"}, "/a", false},         // contains a root
        {{"/a/b/c/d"}, "/a/b", false},   // contains a deeper root
        {{"/a/b"}, "/a/bc", true},       // a longer name is another item
        {{"/a/bc"}, "/a/b", true},       // and the reverse
        {{"/a/b"}, "/a/b.txt", true},    //
        {{"/a/b"}, "/a/B", true},        // case matters
        {{"/a/B/c"}, "/a/b", true},      //
        {{"/a/b"}, "/a/c", true},        // a sibling
        {{"/a/b"}, "/x/a/b", true},      // same components, elsewhere
        {{"/a/b"}, "/a/b/", false},      // the same folder written differently
        {{"/a/b/"}, "/a/b", false},      //
        {{"/a/b"}, "/a//b/c", false},    // empty components do not count
        {{"/"}, "/a", false},            // the file-system root holds everything
        {{"/a"}, "/", false},            //
        {{"/x/1", "/x/2", "/y"}, "/x", false},
        {{"/x/1", "/x/2", "/y"}, "/x/3", true},
        {{"/x/1", "/x/2", "/y"}, "/y/z", false},
        {{}, "", false}, // no item at all
    };
    for (const auto& c : cases) {
        RawFileList list;
        for (const auto& root : c.roots)
            list.addPath(root);
        EXPECT_EQ(list.isLegalPath(c.candidate), c.legal)
            << "candidate " << c.candidate << " with first root "
            << (c.roots.empty() ? "(none)" : c.roots.front());
    }
}

TEST(RawFileList, KeepsTheOrderOfAddingAndAnswersByEqualText) {
    RawFileList list;
    for (const char* path : {"/p/3", "/p/1", "/p/2"})
        list.addPath(path);
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.array(), (std::vector<std::string>{"/p/3", "/p/1", "/p/2"}));
    EXPECT_EQ(list.pathAtIndex(1), "/p/1");
    EXPECT_TRUE(list.contains("/p/1"));
    EXPECT_FALSE(list.contains("/p/1/")); // equal text only
    EXPECT_FALSE(list.contains("/p"));
}

TEST(RawFileList, RemovePathRemovesEveryEqualEntry) {
    RawFileList list;
    // addPath does not test; a careless caller can add a path twice.
    for (const char* path : {"/a", "/b", "/a", "/c", "/a"})
        list.addPath(path);
    list.removePath("/a");
    EXPECT_EQ(list.count(), 2);
    EXPECT_EQ(list.array(), (std::vector<std::string>{"/b", "/c"}));
    EXPECT_FALSE(list.contains("/a"));
    EXPECT_TRUE(list.isLegalPath("/a"));
    list.removePath("/not/there"); // nothing happens
    EXPECT_EQ(list.count(), 2);
}

TEST(RawFileList, ARemovedPathAddedAgainGoesToTheEnd) {
    RawFileList list;
    for (const char* path : {"/a", "/b", "/c"})
        list.addPath(path);
    list.removePath("/a");
    list.addPath("/a");
    list.removePath("/b");
    EXPECT_EQ(list.array(), (std::vector<std::string>{"/c", "/a"}));
    EXPECT_EQ(list.pathAtIndex(0), "/c");
    EXPECT_EQ(list.count(), 2);
}

TEST(RawFileList, RemovingARootFreesItsFoldersOnlyWhenNoOtherRootNeedsThem) {
    RawFileList list;
    list.addPath("/a/b/c");
    list.addPath("/a/b/d");
    list.removePath("/a/b/c");
    EXPECT_FALSE(list.isLegalPath("/a/b")); // still contains /a/b/d
    EXPECT_TRUE(list.isLegalPath("/a/b/c"));
    list.removePath("/a/b/d");
    EXPECT_TRUE(list.isLegalPath("/a/b"));
    EXPECT_TRUE(list.isLegalPath("/a"));
}

TEST(RawFileList, RemoveAllEmptiesTheList) {
    RawFileList list;
    list.addPath("/a/b");
    list.addPath("/c");
    list.removeAll();
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(list.array().empty());
    EXPECT_TRUE(list.isLegalPath("/a"));
    EXPECT_TRUE(list.isLegalPath("/a/b/c"));
    EXPECT_FALSE(list.contains("/c"));
}

TEST(RawFileList, ComponentKeys) {
    EXPECT_EQ(RawFileList::componentKey("/a/b"), "/a/b");
    EXPECT_EQ(RawFileList::componentKey("/a//b/"), "/a/b");
    EXPECT_EQ(RawFileList::componentKey("/"), "/");
    EXPECT_EQ(RawFileList::componentKey("//"), "/");
    EXPECT_EQ(RawFileList::componentKey("a/b"), "a/b");
    EXPECT_EQ(RawFileList::componentKey(""), "");
}

// The three rules written out plainly, one root at a time.
std::vector<std::string> componentsOf(const std::string& path) {
    std::vector<std::string> components;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        if (end > start)
            components.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return components;
}

bool plainlyLegal(const std::vector<std::string>& roots, const std::string& path) {
    const auto mine = componentsOf(path);
    for (const auto& root : roots) {
        const auto theirs = componentsOf(root);
        const size_t shared = std::min(mine.size(), theirs.size());
        if (root == path || std::equal(mine.begin(), mine.begin() + shared, theirs.begin()))
            return false;
    }
    return true;
}

TEST(RawFileList, AgreesWithThePlainRulesOverRandomAddsAndRemoves) {
    std::mt19937 random(11);
    RawFileList list;
    std::vector<std::string> roots;
    const char* names[] = {"a", "b", "ab", "A", "b.txt"};
    for (int step = 0; step < 4000; ++step) {
        std::string path;
        const int depth = 1 + static_cast<int>(random() % 4);
        for (int d = 0; d < depth; ++d)
            path += std::string("/") + names[random() % 5];
        if (random() % 4 == 0 && !roots.empty()) {
            const std::string gone = roots[random() % roots.size()];
            list.removePath(gone);
            std::erase(roots, gone);
            continue;
        }
        const bool expected = plainlyLegal(roots, path);
        ASSERT_EQ(list.isLegalPath(path), expected) << path << " at step " << step;
        if (expected) {
            list.addPath(path);
            roots.push_back(path);
        }
        ASSERT_EQ(list.count(), static_cast<int>(roots.size()));
    }
    EXPECT_EQ(list.array(), roots);
}

} // namespace
} // namespace morvane
