#include "MRVN7x/lists/RenameFromListAction.h"
#include "MRVN7x/actions/ActionList.h"
#include "MRVN7x/actions/CompositeRenameAction.h"
#include "MRVN7x/app/MRVNGlobalPreferencesPseudoAction.h"
#include "MRVN7x/engine/DiskRenamer.h"
#include "tests/sequences/SequenceTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using namespace morvane;
using namespace morvane::test;

namespace {

// Files in a temporary folder, the action, and a second folder for list files.
struct ListFixture : NamingFixture {
    TempDir lists{"lists"};
    std::unique_ptr<RenameFromListAction> action = makeAction<RenameFromListAction>();

    ListFixture() { action->setValueForKey("sortingMode", plist::Value(0)); }

    std::string status() { return action->getParamString("status"); }
    std::string listPath() { return action->getParamString("list file path"); }

    void load(const std::string& content, const std::string& name = "list.txt") {
        action->browse(lists.write(name, content));
    }

    // Renames every entry on disk to its new name and answers the folder's files.
    std::vector<std::string> renameOnDisk() {
        auto settings = makeAction<MRVNGlobalPreferencesPseudoAction>();
        DiskRenamer renamer(*settings);
        for (const auto& [relativePath, name] : newNames(*action)) {
            const std::string path = dir / relativePath;
            if (name == PathText::displayNameOfPath(path))
                continue;
            const std::string target =
                PathText::join(PathText::folderOf(path), *PathText::fileNameFromDisplayName(name));
            EXPECT_TRUE(
                renamer.renameCurrentName(PathText::displayNameOfPath(path), path, name, target))
                << relativePath;
        }
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.path()))
            if (entry.is_regular_file())
                files.push_back(relative(entry.path().string()));
        std::sort(files.begin(), files.end());
        return files;
    }
};

} // namespace

TEST(RenameFromList, Defaults) {
    auto action = makeAction<RenameFromListAction>();
    EXPECT_EQ(action->actionName(), "Rename from list");
    const auto params = action->parameterList();
    EXPECT_EQ(params.at("list file path"), plist::Value("<no file>"));
    EXPECT_EQ(params.at("status"), plist::Value("Nothing loaded."));
    EXPECT_EQ(params.at("ignoreCase"), plist::Value(1));
    EXPECT_EQ(params.at("sortingMode"), plist::Value(11));
    EXPECT_EQ(params.at("sortingMode2"), plist::Value(0));
    EXPECT_EQ(params.at("sortEachFolderSeparately"), plist::Value(0));
    EXPECT_TRUE(action->fileNames().empty());
    EXPECT_TRUE(action->newNames().empty());
}

TEST(RenameFromList, PlainListShorterThanTheFiles) {
    ListFixture f;
    f.useFiles({"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"});
    f.load("One\nTwo\nThree\n");
    EXPECT_EQ(f.status(), "3 new names loaded.");
    EXPECT_EQ(f.listPath(), f.lists / "list.txt");
    EXPECT_EQ(f.renameOnDisk(),
              (std::vector<std::string>{"One", "Three", "Two", "d.jpg", "e.jpg"}));
}

TEST(RenameFromList, PlainListLongerThanTheFiles) {
    ListFixture f;
    f.useFiles({"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"});
    f.action->setValueForKey("fragmentSelection", plist::Value(1)); // keep the extension
    f.load("n1\nn2\nn3\nn4\nn5\nn6\nn7\n");
    EXPECT_EQ(f.status(), "7 new names loaded.");
    EXPECT_EQ(f.renameOnDisk(),
              (std::vector<std::string>{"n1.jpg", "n2.jpg", "n3.jpg", "n4.jpg", "n5.jpg"}));
}

TEST(RenameFromList, PlainListFollowsTheActionsSortOrder) {
    ListFixture f;
    f.useFiles({"one/a", "one/b", "two/c"});
    f.load("first\nsecond\n");
    f.action->setValueForKey("sortingMode", plist::Value(1)); // names descending
    EXPECT_EQ(f.newNames(*f.action),
              (NameMap{{"two/c", u"first"}, {"one/b", u"second"}, {"one/a", u"a"}}));
    f.action->setValueForKey("sortingMode", plist::Value(0));
    f.action->setValueForKey("sortEachFolderSeparately", plist::Value(1));
    EXPECT_EQ(f.newNames(*f.action),
              (NameMap{{"one/a", u"first"}, {"one/b", u"second"}, {"two/c", u"first"}}));
}

TEST(RenameFromList, PairListSavedEditedAndLoadedBack) {
    ListFixture f;
    f.useFiles({"photos/IMG_1.jpg", "photos/IMG_2.jpg", "photos/IMG_3.jpg"});
    // The list as the application saves it with full paths, every file keeping
    // its name; then one line edited, and one line for a file that is gone.
    std::string saved;
    for (int i = 0; i < f.list.count(); ++i) {
        const std::string path(f.list.pathAtIndex(i));
        saved += path + "\t" + PathText::lastComponent(path) + "\n";
    }
    const std::string edited = [&] {
        std::string text = saved;
        const std::string line = f.dir / "photos/IMG_2.jpg" + "\tIMG_2.jpg";
        text.replace(text.find(line), line.size(), f.dir / "photos/IMG_2.jpg" + "\tBeach.jpg");
        return text + f.dir / "photos/gone.jpg" + "\tNever.jpg\n";
    }();
    f.load(edited);
    EXPECT_EQ(f.status(), "4 \"file path, new name\" pairs loaded.");
    EXPECT_EQ(f.action->fileNames().size(), 4u);
    EXPECT_EQ(f.renameOnDisk(), (std::vector<std::string>{"photos/Beach.jpg", "photos/IMG_1.jpg",
                                                          "photos/IMG_3.jpg"}));
}

TEST(RenameFromList, PairListMatchesPathsWithoutRegardToCase) {
    ListFixture f;
    f.useFiles({"Photos/Ärger.JPG", "Photos/other.jpg"});
    std::string upper = f.dir / "PHOTOS/ärger.jpg";
    f.load(upper + "\tRenamed.JPG\n");
    EXPECT_EQ(f.newName(*f.action, "Photos/Ärger.JPG"), u"Renamed.JPG");
    EXPECT_EQ(f.newName(*f.action, "Photos/other.jpg"), u"other.jpg");

    // With "ignoreCase" off the list is read again and compared exactly.
    f.action->setValueForKey("ignoreCase", plist::Value(0));
    EXPECT_EQ(f.newName(*f.action, "Photos/Ärger.JPG"), u"Ärger.JPG");
    f.load(f.dir / "Photos/Ärger.JPG" + "\tExact.JPG\n");
    EXPECT_EQ(f.newName(*f.action, "Photos/Ärger.JPG"), u"Exact.JPG");
    f.action->setValueForKey("ignoreCase", plist::Value(1));
    EXPECT_EQ(f.newName(*f.action, "Photos/Ärger.JPG"), u"Exact.JPG");
}

TEST(RenameFromList, FirstPairOfAPathWins) {
    ListFixture f;
    f.useFiles({"a.txt"});
    f.load(f.dir / "a.txt" + "\tfirst.txt\n" + f.dir / "A.TXT" + "\tsecond.txt\n");
    EXPECT_EQ(f.status(), "2 \"file path, new name\" pairs loaded.");
    EXPECT_EQ(f.newName(*f.action, "a.txt"), u"first.txt");
}

TEST(RenameFromList, ErrorsReportTheLineAndKeepThePreviousLists) {
    ListFixture f;
    f.useFiles({"a", "b"});
    f.load("Keep A\nKeep B\n");
    ASSERT_EQ(f.status(), "2 new names loaded.");
    struct Case {
        std::string content, status;
    };
    const std::vector<Case> cases = {
        {"/x/a\tone\n/x/b\ttwo\n/x/c three\n", "Error on line 3. Nothing loaded."},
        {"Back in Black\nAC/DC\n", "Error on line 2. Nothing loaded."},
        {"\n\nfine\n\n\nbad\xff\n", "Error on line 2. Nothing loaded."},
        {"name\twith tab\n", "Error on line 1. Nothing loaded."},
    };
    for (const auto& c : cases) {
        f.load(c.content, "bad.txt");
        EXPECT_EQ(f.status(), c.status) << c.content;
        EXPECT_EQ(f.listPath(), f.lists / "bad.txt");
        EXPECT_EQ(f.newName(*f.action, "a"), u"Keep A") << c.content;
        EXPECT_EQ(f.newName(*f.action, "b"), u"Keep B") << c.content;
    }
}

TEST(RenameFromList, FileThatCannotBeReadKeepsThePreviousLists) {
    ListFixture f;
    f.useFiles({"a"});
    f.load("Kept\n");
    f.action->browse(f.lists.makeFolder("a folder"));
    EXPECT_EQ(f.status(), "File could not be read. Nothing loaded.");
    EXPECT_EQ(f.newName(*f.action, "a"), u"Kept");
    if (::geteuid() != 0) { // root reads everything
        const std::string locked = f.lists.write("locked.txt", "Secret\n");
        ::chmod(locked.c_str(), 0);
        f.action->browse(locked);
        EXPECT_EQ(f.status(), "File could not be read. Nothing loaded.");
        EXPECT_EQ(f.newName(*f.action, "a"), u"Kept");
    }
}

TEST(RenameFromList, BlankLinesDoNotCount) {
    ListFixture f;
    f.useFiles({"a", "b", "c"});
    f.load("\n\nfirst\n\n\n   \nsecond\r\n\r\n\tthird\n\n");
    EXPECT_EQ(f.status(), "3 new names loaded.");
    EXPECT_EQ(f.newNames(*f.action), (NameMap{{"a", u"first"}, {"b", u"second"}, {"c", u"third"}}));
}

TEST(RenameFromList, EmptyFileLoadsNothingAndRenamesNothing) {
    ListFixture f;
    f.useFiles({"a", "b"});
    f.load("Old\n");
    f.load("", "empty.txt");
    EXPECT_EQ(f.status(), "0 new names loaded.");
    EXPECT_EQ(f.renameOnDisk(), (std::vector<std::string>{"a", "b"}));
}

TEST(RenameFromList, ClearShowsNoFileAndRenamesNothing) {
    ListFixture f;
    f.useFiles({"a", "b"});
    f.load(f.dir / "a" + "\tpaired\n");
    ASSERT_EQ(f.newName(*f.action, "a"), u"paired");
    f.action->clear();
    EXPECT_EQ(f.listPath(), "<no file>");
    EXPECT_EQ(f.status(), "File does not exist. Nothing loaded.");
    EXPECT_TRUE(f.action->fileNames().empty());
    EXPECT_TRUE(f.action->newNames().empty());
    EXPECT_EQ(f.renameOnDisk(), (std::vector<std::string>{"a", "b"}));

    // A file called "<no file>" in the working folder is still no file.
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(f.lists.path());
    f.lists.write("<no file>", "Surprise\n");
    f.action->clear();
    EXPECT_EQ(f.status(), "File does not exist. Nothing loaded.");
    std::filesystem::current_path(previous);
}

TEST(RenameFromList, MissingFileEmptiesTheLists) {
    ListFixture f;
    f.useFiles({"a"});
    f.load("Loaded\n");
    f.action->browse(f.lists / "missing.txt");
    EXPECT_EQ(f.status(), "File does not exist. Nothing loaded.");
    EXPECT_EQ(f.listPath(), f.lists / "missing.txt");
    EXPECT_EQ(f.newName(*f.action, "a"), u"a");
}

TEST(RenameFromList, AppliedSettingsReadTheFileAgain) {
    ListFixture f;
    f.useFiles({"a"});
    const std::string file = f.lists.write("names.txt", "Before\n");
    f.action->setParameterList({{"list file path", plist::Value(file)}});
    EXPECT_EQ(f.newName(*f.action, "a"), u"Before");
    f.lists.write("names.txt", "After\n");
    EXPECT_EQ(f.newName(*f.action, "a"), u"Before"); // not reread per item
    f.action->reload();
    EXPECT_EQ(f.newName(*f.action, "a"), u"After");
    f.lists.write("names.txt", "Applied\n");
    f.action->setParameterList(f.action->parameterList());
    EXPECT_EQ(f.newName(*f.action, "a"), u"Applied");
}

TEST(RenameFromList, SavedSettingsLoadTheFileInAChain) {
    ListFixture f;
    f.useFiles({"a.txt", "b.txt"});
    const std::string file = f.lists.write("names.txt", "Alpha\nBeta\n");
    TempDir prefs("prefs");
    UserDefaults defaults("net.halvard.mrvn7", prefs.path());
    ActionList registry(defaults);
    auto chain = makeAction<CompositeRenameAction>(registry);
    const plist::Dictionary step = {{"list file path", plist::Value(file)},
                                    {"sortingMode", plist::Value(0)},
                                    {"fragmentSelection", plist::Value(1)}};
    ASSERT_TRUE(chain->setFlatParameterList(plist::Dictionary{
        {"currentActionIndex", plist::Value(0)},
        {"composite actions array", plist::Value(plist::Array{plist::Value(plist::Dictionary{
                                        {"action name", plist::Value("Rename from list")},
                                        {"action parameter list", plist::Value(step)}})})}}));
    EXPECT_EQ(chain->getCurrentAction()->getParamString("status"), "2 new names loaded.");
    EXPECT_EQ(f.newNames(*chain), (NameMap{{"a.txt", u"Alpha.txt"}, {"b.txt", u"Beta.txt"}}));
}
