#include "tests/controller/ControllerFixture.h"

#include <gtest/gtest.h>

using namespace morvane;
using namespace morvane::test;

namespace {
// A folder of 300 files, the first of which keeps its name.
std::string fillFolder(ControllerFixture& f) {
    const std::string folder = f.files.makeFolder("many");
    for (int i = 0; i < 300; ++i)
        f.add("many/f" + std::to_string(i) + ".txt");
    f.setChain({{"Replace text",
                 {{"search term", plist::Value("f")},
                  {"replacement term", plist::Value("g")},
                  {"replacement mode", plist::Value(0)}}}});
    f.add("many/keep.txt");
    f.port.dontShowAgainAnswers = {{1, false}}; // cut-off notice
    f.controller.globalSettings().setShouldProcessSubfolders(true);
    f.controller.globalSettings().setShouldProcessFolders(false);
    f.addToList({folder});
    f.controller.updatePreview();
    return folder;
}

size_t lines(const std::string& text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}
} // namespace

TEST(SaveList, EveryLayoutCoversTheWholeList) {
    for (int layout : {0, 1, 2}) {
        ControllerFixture f;
        const std::string folder = fillFolder(f);
        const std::string output = f.files / "list.txt";
        f.port.saveListAnswers = {{DialogChoice::Ok, layout, false}};
        f.port.savePanelAnswers = {output};
        if (layout == 1)
            f.port.dontShowAgainAnswers.push_back({1, false}); // the simple-template notice
        f.controller.createFileList();
        const std::string text = readFile(output);
        EXPECT_EQ(lines(text), 301u) << layout;
        const std::string expected[] = {"f7.txt\tg7.txt\n", "g7.txt\n",
                                        folder + "/f7.txt\tg7.txt\n"};
        EXPECT_NE(text.find(expected[layout]), std::string::npos) << layout;
        if (layout != 1) {
            EXPECT_EQ(f.port.alertTitles().back(), "The file list was successfully saved.");
        }
    }
}

TEST(SaveList, ChangedOnlyLeavesOutNamesThatStay) {
    ControllerFixture f;
    fillFolder(f);
    const std::string output = f.files / "list.txt";
    f.port.saveListAnswers = {{DialogChoice::Ok, 2, true}};
    f.port.savePanelAnswers = {output};
    f.controller.createFileList();
    const std::string text = readFile(output);
    EXPECT_EQ(lines(text), 300u);
    EXPECT_EQ(text.find("keep.txt"), std::string::npos);
}

TEST(SaveList, FailedWriteKeepsTheExistingFile) {
    ControllerFixture f;
    fillFolder(f);
    // A target whose temporary sibling name is too long to create.
    const std::string output = f.files.write(std::string(250, 'o'), "precious");
    f.port.saveListAnswers = {{DialogChoice::Ok, 0, false}};
    f.port.savePanelAnswers = {output};
    f.controller.createFileList();
    EXPECT_EQ(readFile(output), "precious");
    EXPECT_EQ(f.port.alertTitles().back(), "The file list could not be saved.");
}

TEST(SaveList, CancelWritesNothing) {
    ControllerFixture f;
    fillFolder(f);
    f.port.saveListAnswers = {{DialogChoice::Cancel, 0, false}};
    f.controller.createFileList();
    f.port.saveListAnswers = {{DialogChoice::Ok, 0, false}};
    f.port.savePanelAnswers = {std::nullopt};
    f.controller.createFileList();
    EXPECT_TRUE(f.port.unexpected.empty());
}
