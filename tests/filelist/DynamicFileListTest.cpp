#include "FileListTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace morvane {
namespace {
using test::FileListFixture;
using test::Switches;

std::set<std::string> asSet(const std::vector<std::string>& entries) {
    return {entries.begin(), entries.end()};
}

std::string numbered(const std::string& prefix, int n) {
    char name[32];
    std::snprintf(name, sizeof name, "%s%04d.txt", prefix.c_str(), n);
    return name;
}

void writeFiles(const test::TempDir& dir, const std::string& folder, int count) {
    dir.makeFolder(folder);
    for (int i = 0; i < count; ++i)
        dir.write(folder + "/" + numbered("f", i));
}

TEST(DynamicFileList, StartsEmptyWithCutOffOnAndModesTenAndZero) {
    FileManager fm;
    DynamicFileList list(fm);
    EXPECT_EQ(list.count(), 0);
    EXPECT_TRUE(list.applyCutOff());
    EXPECT_FALSE(list.cutOffPointWasActuallyApplied());
    EXPECT_EQ(list.getSortingMode(), 10);
    EXPECT_EQ(list.getSortingMode2(), 0);
    EXPECT_EQ(list.currentRawFileList(), nullptr);
    EXPECT_EQ(list.allocatedSortCount(), 0); // no sort object until one is used
    list.update();                           // no raw list: nothing to expand
    EXPECT_EQ(list.count(), 0);
}

TEST(DynamicFileList, TheThreeSwitches) {
    struct Case {
        Switches switches;
        std::set<std::string> expected;
    };
    const std::vector<Case> cases = {
        {{1, 0, 1}, {"root/a.txt", "root/sub/b.txt", "root/sub/deep/c.txt", "file.txt"}},
        {{0, 1, 1}, {"root", "root/sub", "root/sub/deep"}},
        {{1, 1, 1},
         {"root", "root/a.txt", "root/sub", "root/sub/b.txt", "root/sub/deep",
          "root/sub/deep/c.txt", "file.txt"}},
        {{1, 1, 0}, {"root", "file.txt"}}, // a dropped folder is one entry
        {{1, 0, 0}, {"file.txt"}},         // or nothing with only files included
        {{0, 1, 0}, {"root"}},
        {{0, 0, 1}, {}}, // both switches off: empty
        {{0, 0, 0}, {}},
    };
    for (const auto& c : cases) {
        FileListFixture f;
        f.dir.write("root/a.txt");
        f.dir.write("root/sub/b.txt");
        f.dir.write("root/sub/deep/c.txt");
        f.dir.write("file.txt");
        f.addRoot("root");
        f.addRoot("file.txt");
        f.update(c.switches);
        EXPECT_EQ(asSet(f.entries()), c.expected)
            << c.switches.files << c.switches.folders << c.switches.subfolders;
        EXPECT_EQ(f.list.count(), static_cast<int>(c.expected.size()));
    }
}

TEST(DynamicFileList, ExpansionOrderIsRootsThenEachLevelByName) {
    FileListFixture f;
    f.dir.write("root/b/2.txt");
    f.dir.write("root/b/1.txt");
    f.dir.write("root/a.txt");
    f.dir.write("root/c.txt");
    f.dir.write("other.txt");
    f.addRoot("root");
    f.addRoot("other.txt");
    f.update({1, 1, 1});
    EXPECT_EQ(f.entriesInExpansionOrder(),
              (std::vector<std::string>{"root", "other.txt", "root/a.txt", "root/b", "root/b/1.txt",
                                        "root/b/2.txt", "root/c.txt"}));
}

TEST(DynamicFileList, HiddenItemsAndDsStoreNeverAppearBelowTheRoots) {
    FileListFixture f;
    f.dir.write("root/visible.txt");
    f.dir.write("root/.hidden.txt");
    f.dir.write("root/.DS_Store");
    f.dir.write("root/.hiddenFolder/inside.txt");
    f.dir.write("root/sub/.DS_Store");
    f.dir.write("root/sub/shown.txt");
    f.addRoot("root");
    f.update({1, 1, 1});
    EXPECT_EQ(asSet(f.entries()), (std::set<std::string>{"root", "root/visible.txt", "root/sub",
                                                         "root/sub/shown.txt"}));
}

TEST(DynamicFileList, AHiddenRootIsListedButNotEntered) {
    FileListFixture f;
    f.dir.write(".secret/inside.txt");
    f.dir.write(".dotfile");
    f.addRoot(".secret");
    f.addRoot(".dotfile");
    f.update({1, 1, 1});
    EXPECT_EQ(asSet(f.entries()), (std::set<std::string>{".secret", ".dotfile"}));
    f.update({1, 0, 1});
    EXPECT_EQ(f.entries(), (std::vector<std::string>{".dotfile"}));
}

TEST(DynamicFileList, AnApplicationBundleInsideADescendedFolderIsOneEntry) {
    FileListFixture f;
    f.dir.write("root/photo.jpg");
    f.dir.write("root/Tool.app/Contents/Info.plist");
    f.dir.write("root/Tool.app/Contents/bin/tool");
    f.addRoot("root");
    f.update({1, 1, 1});
    EXPECT_EQ(asSet(f.entries()),
              (std::set<std::string>{"root", "root/photo.jpg", "root/Tool.app"}));
    // A bundle is a folder: with only files included it is no entry at all.
    f.update({1, 0, 1});
    EXPECT_EQ(f.entries(), (std::vector<std::string>{"root/photo.jpg"}));
}

TEST(DynamicFileList, ADroppedBundleIsListedButNotEntered) {
    FileListFixture f;
    f.dir.write("Tool.app/Contents/Info.plist");
    f.addRoot("Tool.app");
    f.update({1, 1, 1});
    EXPECT_EQ(f.entries(), (std::vector<std::string>{"Tool.app"}));
    f.update({1, 0, 1});
    EXPECT_TRUE(f.entries().empty());
}

TEST(DynamicFileList, BundleRecognition) {
    test::TempDir dir("bundles");
    struct Case {
        std::string folder;
        std::string item; // an item inside it, or ""
        bool bundle;
    };
    const std::vector<Case> cases = {
        {"A.app", "", true}, // by ending alone
        {"B.APP", "", true}, // lower-cased first
        {"C.bundle", "", true},
        {"D.plugin", "", true},
        {"E.kext", "", true},
        {"F.rtfd", "", true},
        {"G.band", "", true},
        {"Report.pages", "Contents", true}, // a package by its items
        {"Shots.photoslibrary", "Info.plist", true},
        {"Setup.pkg2", "PkgInfo", true},
        {"Report.pages", "", false},  // an extension alone is not enough
        {"Notes", "Contents", false}, // a plain folder holding "Contents" is entered
        {"2024.05", "Contents", false},
        {"Trip.v2", "other", false},
        {"apps", "", false},
        {"Myapp", "", false},
    };
    FileManager fm;
    DynamicFileList list(fm);
    int n = 0;
    for (const auto& c : cases) {
        const std::string base = dir.makeFolder(std::to_string(n++));
        const std::string folder = base + "/" + c.folder;
        std::filesystem::create_directories(folder);
        if (!c.item.empty())
            dir.write(std::to_string(n - 1) + "/" + c.folder + "/" + c.item);
        EXPECT_EQ(list.folderIsLikelyToBeABundle(folder), c.bundle) << c.folder << " " << c.item;
    }
}

TEST(DynamicFileList, APackageByItsItemsIsNotEnteredButAPlainFolderIs) {
    FileListFixture f;
    f.dir.write("root/Report.pages/Contents/page.xml");
    f.dir.write("root/Notes/Contents/note.txt");
    f.addRoot("root");
    f.update({1, 1, 1});
    EXPECT_EQ(asSet(f.entries()),
              (std::set<std::string>{"root", "root/Report.pages", "root/Notes",
                                     "root/Notes/Contents", "root/Notes/Contents/note.txt"}));
}

// A folder this big has its names sorted on two threads: the list must still
// hold each name once, in byte order across the two halves.
TEST(DynamicFileList, ABigFolderIsListedInByteOrder) {
    FileListFixture f;
    constexpr int kCount = 20000;
    const int folder = open(f.dir.makeFolder("big").c_str(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < kCount; ++i)
        close(openat(folder, ("n" + std::to_string(i * 7919 % kCount)).c_str(),
                     O_WRONLY | O_CREAT | O_EXCL, 0644));
    close(folder);
    f.addRoot("big");
    f.update({1, 0, 1}, false);
    const auto entries = f.entriesInExpansionOrder();
    ASSERT_EQ(entries.size(), static_cast<size_t>(kCount));
    EXPECT_TRUE(std::adjacent_find(entries.begin(), entries.end(), std::greater_equal<>()) ==
                entries.end());
}

TEST(DynamicFileList, CutOffOnAThousandFileFolder) {
    FileListFixture f;
    writeFiles(f.dir, "big", 1000);
    f.addRoot("big");

    f.update({1, 0, 1}, true);
    EXPECT_EQ(f.list.count(), 250);
    EXPECT_TRUE(f.list.cutOffPointWasActuallyApplied());
    // The first 250 names in byte order.
    const auto entries = f.entriesInExpansionOrder();
    EXPECT_EQ(entries.front(), "big/f0000.txt");
    EXPECT_EQ(entries.back(), "big/f0249.txt");

    f.update({1, 0, 1}, false);
    EXPECT_EQ(f.list.count(), 1000);
    EXPECT_FALSE(f.list.cutOffPointWasActuallyApplied());

    // With folders included the folder itself is one of the 250.
    f.update({1, 1, 1}, true);
    EXPECT_EQ(f.list.count(), 250);
    EXPECT_TRUE(f.list.cutOffPointWasActuallyApplied());
    const auto withFolder = f.entriesInExpansionOrder();
    EXPECT_EQ(withFolder.front(), "big");
    EXPECT_EQ(withFolder.back(), "big/f0248.txt");
    EXPECT_EQ(std::count_if(withFolder.begin(), withFolder.end(),
                            [](const std::string& e) { return e.starts_with("big/"); }),
              249);
}

TEST(DynamicFileList, CutOffCountsEntriesNotLevels) {
    struct Case {
        int files;
        int expectedCount;
        bool flag;
    };
    // The test is "more than 249 entries" before each addition.
    for (const Case& c : std::vector<Case>{
             {249, 249, false}, {250, 250, false}, {251, 250, true}, {300, 250, true}}) {
        FileListFixture f;
        writeFiles(f.dir, "d", c.files);
        f.addRoot("d");
        f.update({1, 0, 1}, true);
        EXPECT_EQ(f.list.count(), c.expectedCount) << c.files;
        EXPECT_EQ(f.list.cutOffPointWasActuallyApplied(), c.flag) << c.files;
    }
}

TEST(DynamicFileList, CutOffAcrossNestedFoldersKeepsTheFirstItemsFound) {
    FileListFixture f;
    writeFiles(f.dir, "root/a", 200);
    writeFiles(f.dir, "root/b", 200);
    writeFiles(f.dir, "root/c", 200);
    f.addRoot("root");
    f.update({1, 0, 1}, true);
    EXPECT_EQ(f.list.count(), 250);
    EXPECT_TRUE(f.list.cutOffPointWasActuallyApplied());
    const auto entries = f.entriesInExpansionOrder();
    EXPECT_EQ(std::count_if(entries.begin(), entries.end(),
                            [](const std::string& e) { return e.starts_with("root/a/"); }),
              200);
    EXPECT_EQ(entries.back(), "root/b/f0049.txt");
}

// With the cut-off only a big folder's first names are put in order at first;
// names that add nothing (hidden, or not of the included kind) must not end the walk.
TEST(DynamicFileList, CutOffWalksPastNamesThatAddNothing) {
    struct Case {
        Switches switches;
        bool emptyFolders; // the 400 names that add nothing: empty folders, else files
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {{1, 0, 1}, true, {"d/a.txt", "d/b.txt", "d/zz/inner.txt"}},
        {{0, 1, 1}, false, {"d", "d/zz"}},
    };
    for (const auto& c : cases) {
        FileListFixture f;
        f.dir.makeFolder("d");
        for (int i = 0; i < 300; ++i)
            f.dir.write("d/" + numbered(".hidden", i)); // before every visible name
        for (int i = 0; i < 400; ++i) {
            if (c.emptyFolders)
                f.dir.makeFolder("d/" + numbered("m", i));
            else
                f.dir.write("d/" + numbered("m", i));
        }
        f.dir.write("d/a.txt");
        f.dir.write("d/b.txt");
        f.dir.makeFolder("d/zz");
        f.dir.write("d/zz/inner.txt");
        f.addRoot("d");
        f.update(c.switches, true);
        EXPECT_EQ(f.entriesInExpansionOrder(), c.expected);
        EXPECT_FALSE(f.list.cutOffPointWasActuallyApplied());
    }
}

// Taking names in folder order (a look before a run, which reads no more of
// a folder than the cut-off needs) gives the count and the cut-off flag of
// byte order, across pieces of the folder and across levels.
TEST(DynamicFileList, FolderOrderGivesTheCountAndFlagOfByteOrder) {
    struct Case {
        const char* label;
        Switches switches;
        std::function<void(FileListFixture&)> make;
        int count;
        bool flag;
    };
    const auto hiddenThen = [](int hidden, int files) {
        return [=](FileListFixture& f) {
            for (int i = 0; i < hidden; ++i)
                f.dir.write("d/" + numbered(".h", i));
            writeFiles(f.dir, "d", files);
            f.addRoot("d");
        };
    };
    const std::vector<Case> cases = {
        {"a few files after many hidden names", {1, 0, 1}, hiddenThen(600, 3), 3, false},
        {"exactly the cut-off", {1, 0, 1}, hiddenThen(0, 250), 250, false},
        {"one more than the cut-off", {1, 0, 1}, hiddenThen(0, 251), 250, true},
        {"a big folder", {1, 0, 1}, hiddenThen(0, 600), 250, true},
        {"nested folders",
         {1, 1, 1},
         [](FileListFixture& f) {
             for (const char* folder : {"t/a", "t/b", "t/b/c"})
                 writeFiles(f.dir, folder, 90);
             f.addRoot("t");
         },
         250,
         true},
        {"folders only, files ignored", {0, 1, 1}, hiddenThen(10, 600), 1, false},
        {"nothing qualifies", {0, 0, 1}, hiddenThen(0, 300), 0, false},
    };
    for (const auto& c : cases) {
        FileListFixture f;
        c.make(f);
        for (const bool folderOrder : {false, true}) {
            f.list.setFolderOrder(folderOrder);
            f.update(c.switches, true);
            EXPECT_EQ(f.list.count(), c.count) << c.label << (folderOrder ? ", folder order" : "");
            EXPECT_EQ(f.list.cutOffPointWasActuallyApplied(), c.flag) << c.label;
        }
    }
}

// A folder is closed before the walk goes down into it (in folder order:
// when it was read to the end), so a tree deeper than the descriptors a
// process may hold is still walked to its bottom.
TEST(DynamicFileList, ADeepTreeIsWalkedWithFewDescriptors) {
    FileListFixture f;
    std::string deepest = "t";
    for (int level = 0; level < 150; ++level)
        deepest += "/d";
    f.dir.makeFolder(deepest);
    f.dir.write(deepest + "/bottom.txt");
    f.addRoot("t");
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit few = saved;
    few.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &few), 0);
    std::vector<int> counts;
    for (const bool folderOrder : {false, true}) {
        f.list.setFolderOrder(folderOrder);
        f.update({1, 0, 1}, folderOrder);
        counts.push_back(f.list.count());
    }
    setrlimit(RLIMIT_NOFILE, &saved);
    EXPECT_EQ(counts, (std::vector<int>{1, 1}));
}

TEST(DynamicFileList, RootsAreNeverRefusedByTheCutOff) {
    FileListFixture f;
    for (int i = 0; i < 300; ++i)
        f.addRoot(f.dir.write(numbered("r", i)).substr(f.dir.path().size() + 1));
    writeFiles(f.dir, "folder", 10);
    f.addRoot("folder");
    f.update({1, 0, 1}, true);
    // All 300 file roots; the folder's files meet a list that already holds 300.
    EXPECT_EQ(f.list.count(), 300);
    EXPECT_TRUE(f.list.cutOffPointWasActuallyApplied());
    f.update({1, 0, 1}, false);
    EXPECT_EQ(f.list.count(), 310);
}

TEST(DynamicFileList, IsRootForDroppedItemsOnly) {
    FileListFixture f;
    f.dir.write("dropped.txt");
    f.dir.write("folder/inside.txt");
    f.addRoot("dropped.txt");
    f.addRoot("folder");
    f.update({1, 1, 1});
    ASSERT_EQ(f.list.count(), 3);
    for (int i = 0; i < f.list.count(); ++i) {
        const std::string entry = f.relative(f.list.pathAtIndex(i));
        EXPECT_EQ(f.list.isRoot(i), entry != "folder/inside.txt") << entry;
    }
    EXPECT_FALSE(f.list.isRoot(-1));
    EXPECT_FALSE(f.list.isRoot(3));
}

TEST(DynamicFileList, SymbolicLinksAreListedAndNeverFollowed) {
    FileListFixture f;
    f.dir.write("root/dir/target.txt");
    const std::string root = f.dir / "root";
    ASSERT_EQ(symlink("dir", (root + "/linkToDir").c_str()), 0);
    ASSERT_EQ(symlink(".", (root + "/loop").c_str()), 0);    // a link to its own folder
    ASSERT_EQ(symlink("..", (root + "/dir/up").c_str()), 0); // and to the one above
    ASSERT_EQ(symlink("nowhere", (root + "/dangling").c_str()), 0);
    ASSERT_EQ(symlink(root.c_str(), (f.dir / "rootLink").c_str()), 0);
    f.addRoot("root");
    f.addRoot("rootLink"); // a dropped link to a folder
    f.update({1, 1, 1}, false);
    EXPECT_EQ(asSet(f.entries()),
              (std::set<std::string>{"root", "root/dir", "root/dir/target.txt", "root/dir/up",
                                     "root/linkToDir", "root/loop", "root/dangling", "rootLink"}));
    // Links are not folders: with only folders included none of them is an entry.
    f.update({0, 1, 1}, false);
    EXPECT_EQ(asSet(f.entries()), (std::set<std::string>{"root", "root/dir"}));
}

TEST(DynamicFileList, AVanishedRootCountsAsAnItemThatIsNotAFolder) {
    FileListFixture f;
    const std::string gone = f.dir.write("gone.txt");
    f.dir.makeFolder("goneFolder");
    f.dir.write("kept.txt");
    f.addRoot("gone.txt");
    f.addRoot("goneFolder");
    f.addRoot("kept.txt");
    std::filesystem::remove(gone);
    std::filesystem::remove(f.dir / "goneFolder");
    f.list.setSortingMode(2); // by modification date: the vanished item has none
    f.update({1, 1, 1});
    EXPECT_EQ(f.entries(), (std::vector<std::string>{"gone.txt", "goneFolder", "kept.txt"}));
    EXPECT_EQ(f.list.getSortingIndexForPath(f.dir / "gone.txt", 4, 6, false), 1);
    EXPECT_GE(f.list.getSortingIndexForPath(f.dir / "kept.txt", 8, 9, true), 1);
    f.update({0, 1, 1});
    EXPECT_TRUE(f.entries().empty());
}

TEST(DynamicFileList, FilterLevelAppendsOnlyBelowARootPath) {
    FileListFixture f;
    f.dir.write("root/real.txt");
    f.list.setProcessFiles(1);
    f.list.setProcessSubFolders(1);
    TextList target;
    const auto texts = [&target] { return std::vector<std::string>(target.begin(), target.end()); };
    const std::string root = f.dir / "root";
    f.list.filterFileList({root}, target, nullptr); // the level of the roots: descent only
    EXPECT_EQ(texts(), (std::vector<std::string>{root + "/real.txt"}));
    target.clear();
    // A name that vanished is still an item; ".DS_Store" and hidden names are skipped.
    f.list.filterFileList({"ghost.txt", ".DS_Store", ".x", "real.txt"}, target, &root);
    EXPECT_EQ(texts(), (std::vector<std::string>{root + "/ghost.txt", root + "/real.txt"}));
}

// Runs body in a child process without the power to bypass permissions
// (as "nobody" when the tests run as root); true when body returned true.
template <typename Body> bool runWithoutPrivileges(Body&& body) {
    if (geteuid() != 0)
        return body();
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(2);
        _exit(body() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(DynamicFileList, AnUnreadableFolderContributesNothingAndTheExpansionGoesOn) {
    FileListFixture f;
    f.dir.write("root/locked/secret.txt");
    f.dir.write("root/open/a.txt");
    f.dir.write("root/z.txt");
    f.addRoot("root");
    // The temporary folder must be reachable for the unprivileged child.
    ASSERT_EQ(chmod(f.dir.path().c_str(), 0755), 0);
    for (const char* folder : {"root", "root/open"})
        ASSERT_EQ(chmod((f.dir / folder).c_str(), 0755), 0);
    ASSERT_EQ(chmod((f.dir / "root/locked").c_str(), 0), 0);
    const bool asExpected = runWithoutPrivileges([&] {
        f.update({1, 1, 1}, false);
        const std::set<std::string> expected = {"root", "root/locked", "root/open",
                                                "root/open/a.txt", "root/z.txt"};
        return asSet(f.entries()) == expected;
    });
    EXPECT_TRUE(asExpected);
}

class RecordingReceiver : public FileListProgressReceiver {
public:
    void setTotalNumberOfFiles(int count) override { totals.push_back(count); }
    void setLastPathProcessed(const std::string& path) override { paths.push_back(path); }
    std::vector<int> totals;
    std::vector<std::string> paths;
};

TEST(DynamicFileList, ReportsEachEntryItAddsBelowTheRoots) {
    FileListFixture f;
    f.dir.write("dropped.txt");
    f.dir.write("folder/a.txt");
    f.dir.write("folder/b.txt");
    f.addRoot("dropped.txt");
    f.addRoot("folder");
    RecordingReceiver receiver;
    f.list.setProgressController(&receiver);
    f.update({1, 0, 1}, false);
    EXPECT_EQ(receiver.totals, (std::vector<int>{2, 3}));
    EXPECT_EQ(receiver.paths,
              (std::vector<std::string>{f.dir / "folder/a.txt", f.dir / "folder/b.txt"}));
    f.list.setProgressController(nullptr);
    f.update({1, 0, 1}, false);
    EXPECT_EQ(receiver.totals.size(), 2u);
}

TEST(DynamicFileList, InternalAndExternalIndexesAgree) {
    FileListFixture f;
    for (const char* name : {"c.txt", "a.txt", "b.txt", "sub/e.txt", "sub/d.txt"})
        f.dir.write(std::string("root/") + name);
    f.addRoot("root");
    f.update({1, 1, 1});
    const int n = f.list.count();
    ASSERT_EQ(n, 7);
    std::set<int> internals;
    for (int external = 0; external < n; ++external) {
        const int internal = f.list.translateExternalIndexToInternal(external);
        internals.insert(internal);
        EXPECT_EQ(f.list.translateInternalIndexToExternal(internal), external);
        EXPECT_EQ(f.list.pathAtInternalIndex(internal), f.list.pathAtIndex(external));
        EXPECT_EQ(f.list.internalIndexOfPath(f.list.pathAtIndex(external)), internal);
    }
    EXPECT_EQ(internals.size(), static_cast<size_t>(n)); // a permutation
    EXPECT_EQ(f.list.internalIndexOfPath(f.dir / "root/none"), DynamicFileList::kNotFound);
    EXPECT_EQ(f.list.pathAtIndex(-1), "");
    EXPECT_EQ(f.list.pathAtIndex(n), "");
    EXPECT_EQ(f.list.translateExternalIndexToInternal(n), DynamicSort::kNotFound);
}

TEST(DynamicFileList, SettingsTakeEffectAtTheNextUpdate) {
    FileListFixture f;
    f.dir.write("root/b.txt");
    f.dir.write("root/a.txt");
    f.addRoot("root");
    f.update({1, 0, 1});
    EXPECT_EQ(f.entries(), (std::vector<std::string>{"root/a.txt", "root/b.txt"}));
    f.list.setSortingMode(1); // names, descending
    f.list.setProcessFolders(1);
    EXPECT_EQ(f.list.getSortingMode(), 1);
    EXPECT_EQ(f.entries(), (std::vector<std::string>{"root/a.txt", "root/b.txt"}));
    f.list.update();
    EXPECT_EQ(f.entries(), (std::vector<std::string>{"root", "root/b.txt", "root/a.txt"}));
}

TEST(DynamicFileList, UpdateReplacesTheEntriesWholesale) {
    FileListFixture f;
    f.dir.write("one/a.txt");
    f.dir.write("two/b.txt");
    f.addRoot("one");
    f.update({1, 0, 1});
    EXPECT_EQ(f.entries(), (std::vector<std::string>{"one/a.txt"}));
    f.raw.removePath(f.dir / "one");
    f.addRoot("two");
    f.list.update();
    EXPECT_EQ(f.entries(), (std::vector<std::string>{"two/b.txt"}));
    EXPECT_EQ(f.list.internalIndexOfPath(f.dir / "one/a.txt"), DynamicFileList::kNotFound);
}

// Every entry carries the identity the journal records: the same device, inode
// and type as the item on disk, for roots, files, folders and links alike.
TEST(DynamicFileList, EveryEntryKnowsItsIdentity) {
    FileListFixture f;
    f.dir.write("root/dir/inner.txt");
    f.dir.write("root/file.txt");
    f.dir.write("single.txt");
    ASSERT_EQ(symlink("dir", (f.dir / "root/link").c_str()), 0);
    ASSERT_EQ(mkfifo((f.dir / "root/pipe").c_str(), 0600), 0);
    f.addRoot("root");
    f.addRoot("single.txt");
    for (const bool cutOff : {false, true}) {
        f.update({1, 1, 1}, cutOff);
        ASSERT_EQ(f.list.count(), 7);
        for (int i = 0; i < f.list.count(); ++i) {
            const std::string path(f.list.pathAtIndex(i));
            const auto onDisk = FileOperations::identityOf(path);
            ASSERT_TRUE(onDisk) << path;
            EXPECT_EQ(f.list.identityAtIndex(i), *onDisk) << path;
            EXPECT_NE(onDisk->type, 0) << path;
        }
    }
    EXPECT_EQ(f.list.identityAtIndex(7), ItemIdentity{});
}

// A hint gives the entry at once when it is that entry's index; any other
// hint (another entry's, one outside the list) is ignored, never believed.
TEST(DynamicFileList, APathIsFoundWhateverTheHint) {
    FileListFixture f;
    for (const char* name : {"a", "b", "c/d", "c/e"})
        f.dir.write(name);
    f.addRoot("");
    f.update({1, 1, 1});
    const int n = f.list.count();
    ASSERT_EQ(n, 6); // the folder itself too
    for (int i = 0; i < n; ++i) {
        const std::string path(f.list.pathAtInternalIndex(i));
        for (const int hint : {i, -1, (i + 1) % n, n, 1 << 30})
            EXPECT_EQ(f.list.internalIndexOfPath(path, hint), i) << path << " hint " << hint;
    }
    for (const int hint : {-1, 0, 5})
        EXPECT_EQ(f.list.internalIndexOfPath(f.dir / "absent", hint), kPathNotFound);
}

// What a run frees once its plan is made is made again when asked for: the
// same entries in the same order, the same places in another order.
TEST(DynamicFileList, OrdersAreMadeAgainAfterARunReleasedThem) {
    FileListFixture f;
    for (const char* name : {"b10", "b9", "a", "c/d", "c/e"})
        f.dir.write(name);
    f.addRoot("");
    f.list.setSortingMode(10);
    f.update({1, 1, 1});
    const auto snapshot = [&f] {
        std::vector<std::pair<std::string, int>> entries;
        for (int i = 0; i < f.list.count(); ++i) {
            const std::string path(f.list.pathAtIndex(i));
            entries.emplace_back(path, f.list.getSortingIndexForPath(path, 11, 0, true));
        }
        return entries;
    };
    const auto before = snapshot();
    f.list.releaseIdentitiesAndOrders();
    EXPECT_EQ(f.list.identityAtIndex(0), ItemIdentity{});
    EXPECT_EQ(snapshot(), before);
    f.list.update();
    EXPECT_NE(f.list.identityAtIndex(0), ItemIdentity{});
}

} // namespace
} // namespace morvane
