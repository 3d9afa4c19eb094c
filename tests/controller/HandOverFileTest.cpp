// The items the file manager's context menu hands over in a file of 70-byte
// records: written through the same layer that reads them, read once at
// launch, then the file is gone.
#include "MRVN7x/app/FileListReader.h"
#include "platform/FileSpecification.h"
#include "platform/XdgPaths.h"
#include "tests/controller/ControllerFixture.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <fstream>

namespace morvane::test {
namespace {

namespace fs = std::filesystem;

// A folder below the test's home folder, where the search looks first.
struct HandOver : ::testing::Test {
    std::string folder = XdgPaths::home() + "/Selection";
    void SetUp() override { fs::create_directories(folder); }
    void TearDown() override {
        fs::remove_all(folder);
        for (const auto& file : FileListReader::handOverFilePaths())
            fs::remove(file);
    }
    std::string make(const std::string& relative, bool isFolder = false) {
        const std::string path = folder + "/" + relative;
        fs::create_directories(fs::path(path).parent_path());
        if (isFolder)
            fs::create_directory(path);
        else
            std::ofstream(path) << "x";
        return path;
    }
    static void write(const std::string& file, const std::vector<FileSpecification>& items,
                      const std::string& tail = "") {
        fs::create_directories(fs::path(file).parent_path());
        std::ofstream out(file, std::ios::binary);
        for (const auto& item : items) {
            const auto record = item.record();
            out.write(reinterpret_cast<const char*>(record.data()), record.size());
        }
        out << tail;
    }
    static FileSpecification specOf(const std::string& path) {
        auto spec = FileSpecification::forPath(path);
        EXPECT_TRUE(spec) << path;
        return spec.value_or(FileSpecification(0, 0, ""));
    }
};

TEST_F(HandOver, RecordsHoldVolumeFolderAndNameInSeventyBytes) {
    const std::string path = make("photo one.jpg");
    const FileSpecification spec = specOf(path);
    const auto record = spec.record();
    std::int16_t volume = 0;
    std::int32_t parent = 0;
    std::memcpy(&volume, record.data(), 2);
    std::memcpy(&parent, record.data() + 2, 4);
    EXPECT_LT(volume, 0);
    struct stat folderInfo {};
    ASSERT_EQ(stat(folder.c_str(), &folderInfo), 0);
    EXPECT_EQ(static_cast<std::uint32_t>(parent), folderInfo.st_ino);
    EXPECT_EQ(record[6], 13);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(record.data() + 7), 13), "photo one.jpg");
    EXPECT_EQ(FileSpecification::fromRecord(record).path(), path);

    EXPECT_TRUE(FileSpecification::forPath(make(std::string(63, 'n'))));
    EXPECT_FALSE(FileSpecification::forPath(make(std::string(64, 'n'))));
    EXPECT_FALSE(FileSpecification::forPath(folder + "/missing"));
}

TEST_F(HandOver, LaunchOpensEveryItemThatStillExistsInOrderAndDeletesTheFile) {
    const std::vector<std::string> paths = {make("b.txt"), make("Deep/Er/a name; $(x).txt"),
                                            make("Album", true), make(std::string(63, 'z'))};
    const std::string gone = make("gone.txt");
    std::vector<FileSpecification> items;
    for (const auto& path : {paths[0], gone, paths[1], paths[2], paths[3]})
        items.push_back(specOf(path));
    items.push_back(FileSpecification(items[0].volume(), items[0].parentFolder(), ".."));
    items.push_back(FileSpecification(-30000, items[0].parentFolder(), "b.txt"));
    fs::remove(gone);
    const std::string file = FileListReader::handOverFilePaths()[0];
    write(file, items, std::string(69, '\1')); // a short last record ends the list

    ControllerFixture fixture;
    EXPECT_EQ(fixture.controller.rawFileList().array(), paths);
    EXPECT_FALSE(fs::exists(file));
}

TEST_F(HandOver, TheSecondNameIsTriedAndALinkIsNeverFollowed) {
    const std::string item = make("c.txt");
    const auto files = FileListReader::handOverFilePaths();
    EXPECT_FALSE(FileListReader::readFileList()); // neither file

    write(files[1], {specOf(item)});
    EXPECT_EQ(FileListReader::readFileList(), std::vector<std::string>{item});
    EXPECT_FALSE(fs::exists(files[1]));

    const std::string elsewhere = make("records");
    write(elsewhere, {specOf(item)});
    fs::create_symlink(elsewhere, files[0]);
    EXPECT_FALSE(FileListReader::readFileList());
    EXPECT_TRUE(fs::exists(elsewhere));
}

} // namespace
} // namespace morvane::test
