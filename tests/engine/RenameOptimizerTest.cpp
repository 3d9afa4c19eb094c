#include "MRVN7x/engine/RenameOptimizer.h"
#include "platform/PathText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <random>
#include <set>

using namespace morvane;

namespace {
std::vector<std::string> texts(const TextList& list) {
    return {list.begin(), list.end()};
}
} // namespace

TEST(RenameOptimizer, DeepestFirstThenAscendingPaths) {
    struct Case {
        std::vector<std::string> added;
        std::vector<std::string> expected;
    };
    std::vector<Case> cases = {
        {{"/x/folder", "/x/folder/inner.txt"}, {"/x/folder/inner.txt", "/x/folder"}},
        {{"/b/a", "/a/z"}, {"/a/z", "/b/a"}},
        {{"/x/b", "/x/a"}, {"/x/a", "/x/b"}},
        {{"/x/B", "/x/a", "/x/A"}, {"/x/A", "/x/B", "/x/a"}}, // case-sensitive order
        {{"/r/a", "/r/a/b/c/d", "/r/a/b", "/r/z/y", "/r/a/b/c"},
         {"/r/a/b/c/d", "/r/a/b/c", "/r/a/b", "/r/z/y", "/r/a"}},
        {{}, {}},
        {}, // a long list, shuffled (sorted in two halves and merged)
    };
    std::mt19937 random(3);
    Case& longList = cases.back();
    for (int i = 0; i < 70000; ++i)
        longList.added.push_back("/r/" + std::to_string(i % 7) + (i % 3 ? "/d/" : "/") +
                                 std::to_string(random()));
    std::sort(longList.added.begin(), longList.added.end());
    longList.added.erase(std::unique(longList.added.begin(), longList.added.end()),
                         longList.added.end());
    longList.expected = longList.added;
    std::stable_partition(longList.expected.begin(), longList.expected.end(),
                          [](const std::string& path) { return path.find("/d/") != path.npos; });
    std::shuffle(longList.added.begin(), longList.added.end(), random);
    for (const auto& c : cases) {
        RenameOptimizer optimizer;
        for (const auto& path : c.added)
            optimizer.addOldName(path, std::u16string(path.begin(), path.end()) + u"!");
        optimizer.optimizeRenameOrder();
        EXPECT_EQ(texts(optimizer.oldNames()), c.expected);
        // The new names travel with their paths.
        for (size_t i = 0; i < optimizer.count(); ++i) {
            const auto& path = optimizer.oldNames()[i];
            EXPECT_EQ(optimizer.newName(i), std::u16string(path.begin(), path.end()) + u"!");
        }
    }
}

// Pairs that want one new path are found whatever the length of the plan (a
// long one on a second thread), and stay marked once the pairs are reordered.
TEST(RenameOptimizer, PairsSharingANewPathAreMarkedInPlanOrder) {
    for (const int count : {40, 70000}) {
        std::mt19937 random(5);
        std::vector<int> numbers(static_cast<size_t>(count));
        std::iota(numbers.begin(), numbers.end(), 0);
        std::shuffle(numbers.begin(), numbers.end(), random);
        RenameOptimizer optimizer;
        // Seven pairs a folder, at two depths; the last of each wants the name of the one before.
        for (const int i : numbers) {
            const int folder = i / 7;
            optimizer.addOldName("/x/" + std::to_string(folder) + (folder % 2 ? "/d/" : "/") +
                                     std::to_string(i),
                                 u"new " + std::u16string(1, u'a' + (i % 7 == 6 ? 5 : i % 7)));
        }
        optimizer.optimizeRenameOrder();
        size_t marked = 0;
        for (size_t i = 0; i < optimizer.count(); ++i) {
            const std::string_view path = optimizer.oldNames()[i];
            const int number = std::stoi(std::string(path.substr(path.rfind('/') + 1)));
            EXPECT_EQ(optimizer.sharesNewPath(i), number % 7 >= 5) << path;
            marked += optimizer.sharesNewPath(i);
        }
        EXPECT_GT(marked, 0u) << count;
    }
}

// The one rule for the path of a new name, as the preview, the plan and the run
// use it: "/" is ":" on disk, escaped bytes are bytes again, and a half
// character (which cannot be written) shows as U+FFFD.
TEST(RenameOptimizer, NewPathsAreTheNamesAsStoredInTheFolder) {
    struct Case {
        std::string oldPath;
        std::u16string newName;
        std::string newPath;
    };
    const std::vector<Case> cases = {
        {"/x/a", u"b", "/x/b"},
        {"/a", u"b", "/b"},
        {"/x/a", u"12/14 song", "/x/12:14 song"},
        {"/x/a", u"stray \xDCFF", "/x/stray \xFF"},
        {"/x/a", u"\xD83D\xDE00", "/x/\xF0\x9F\x98\x80"},
        {"/x/a", u"half \xD83D", "/x/half \xEF\xBF\xBD"},
        {"/x/a", u"a/\xDE00\xDCFF", "/x/a:\xEF\xBF\xBD\xFF"},
        {"/x/a", u"", "/x/"},
        {"/x/a", u"12:14 song", "/x/12:14 song"},
        {"/x/a", u"caf\u00E9", "/x/caf\xC3\xA9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PathText::pathOfDisplayName(PathText::folderView(c.oldPath), c.newName),
                  c.newPath);
        RenameOptimizer plan;
        plan.addOldName(c.oldPath, c.newName);
        plan.optimizeRenameOrder();
        EXPECT_EQ(plan.newPath(0), c.newPath);
        EXPECT_EQ(plan.newName(0), c.newName); // also where the path does not give it back
    }
    // A name that cannot be written waits for nobody, not even an item whose
    // path its shown path happens to be.
    RenameOptimizer plan;
    plan.addOldName("/x/\xEF\xBF\xBD", u"b");
    plan.addOldName("/x/a", u"\xD83D");
    plan.optimizeRenameOrder();
    EXPECT_EQ(plan.newPath(0), "/x/\xEF\xBF\xBD");
    EXPECT_EQ(plan.oldNames()[0], "/x/a");
    EXPECT_EQ(plan.newName(0), u"\xD83D"); // the kept name moved with its pair
    EXPECT_EQ(plan.newName(1), u"b");
    EXPECT_EQ(plan.steps().size(), 2u);
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
        position[std::string(optimizer.oldNames()[i])] = i;
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

namespace {
// Simulates the steps on a set of names, never replacing one: the names at
// the end, and how many steps met a taken name.
struct Simulation {
    std::set<std::string> names;
    int refused = 0;
};
Simulation simulate(const RenameOptimizer& plan, std::set<std::string> names) {
    Simulation result{std::move(names)};
    auto move = [&](const std::string& from, const std::string& to) {
        if (result.names.count(to)) {
            ++result.refused;
            return;
        }
        result.names.erase(from);
        result.names.insert(to);
    };
    for (const auto& step : plan.steps()) {
        const std::string old(plan.oldNames()[step.pair]);
        const std::string folder = old.substr(0, old.find_last_of('/'));
        const std::u16string name = plan.newName(step.pair);
        const std::string target = folder + "/" + std::string(name.begin(), name.end());
        const std::string temporary = RenameOptimizer::temporaryPathFor(old);
        switch (step.kind) {
        case RenameOptimizer::StepKind::Whole:
            move(old, target);
            break;
        case RenameOptimizer::StepKind::ToTemporary:
            move(old, temporary);
            break;
        case RenameOptimizer::StepKind::FromTemporary:
            move(temporary, target);
            break;
        }
    }
    return result;
}
} // namespace

// Chains run from their free end, cycles through one temporary name each, and
// nothing meets a name the batch itself still holds.
TEST(RenameOptimizer, ChainsAndCyclesFinishWithoutMeetingTheirOwnNames) {
    struct Case {
        const char* label;
        std::vector<std::pair<std::string, std::string>> pairs; // path, new name
        size_t temporaries;
    };
    const std::vector<Case> cases = {
        {"shift up", {{"/d/f1", "f2"}, {"/d/f2", "f3"}, {"/d/f3", "f4"}}, 0},
        {"shift down", {{"/d/f2", "f1"}, {"/d/f3", "f2"}, {"/d/f4", "f3"}}, 0},
        {"swap", {{"/d/a", "b"}, {"/d/b", "a"}}, 1},
        {"three-cycle", {{"/d/a", "b"}, {"/d/b", "c"}, {"/d/c", "a"}}, 1},
        {"cycle with a tail", {{"/d/a", "b"}, {"/d/b", "a"}, {"/d/x", "y"}, {"/d/z", "x"}}, 1},
        {"two folders, two swaps",
         {{"/d/a", "b"}, {"/d/b", "a"}, {"/e/a", "b"}, {"/e/b", "a"}, {"/e", "e2"}},
         2},
        {"a chain into a cycle", {{"/d/a", "b"}, {"/d/b", "a"}, {"/d/c", "a"}}, 1},
    };
    for (const Case& c : cases) {
        RenameOptimizer plan;
        std::set<std::string> names;
        for (const auto& [path, name] : c.pairs) {
            plan.addOldName(path, std::u16string(name.begin(), name.end()));
            names.insert(path);
        }
        plan.optimizeRenameOrder();
        size_t temporaries = 0;
        std::map<size_t, int> stepsOfPair;
        for (const auto& step : plan.steps()) {
            temporaries += step.kind == RenameOptimizer::StepKind::ToTemporary ? 1 : 0;
            ++stepsOfPair[step.pair];
        }
        EXPECT_EQ(temporaries, c.temporaries) << c.label;
        EXPECT_EQ(stepsOfPair.size(), c.pairs.size()) << c.label;
        const Simulation result = simulate(plan, names);
        // Only a pair that wants a name another pair also wants is refused.
        const bool conflict = std::string(c.label) == "a chain into a cycle";
        EXPECT_EQ(result.refused, conflict ? 1 : 0) << c.label;
        if (conflict)
            continue;
        std::set<std::string> expected;
        for (const auto& [path, name] : c.pairs)
            expected.insert(path.substr(0, path.find_last_of('/')) + "/" + name);
        // A folder renamed after its items: the simulation keeps the old item paths.
        if (std::string(c.label) != "two folders, two swaps") {
            EXPECT_EQ(result.names, expected) << c.label;
        }
        // The deepest level still goes first.
        EXPECT_NE(plan.oldNames()[plan.count() - 1], "/d/a") << c.label;
    }
}
