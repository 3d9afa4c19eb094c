// A run's batch over a real folder: the expansion's reports and then the
// batch's own reach the run's receiver in order, and the list is left quiet.
#include "MRVN7x/engine/RenameBatch.h"
#include "tests/filelist/FileListTestSupport.h"

#include <gtest/gtest.h>

using namespace morvane;
using namespace morvane::test;

namespace {
class RecordingReceiver final : public RenameProgressReceiver {
public:
    void setLastPathProcessed(const std::string& path) override {
        events.push_back("path " + path);
    }
    void setTotalNumberOfFiles(int count) override {
        events.push_back("total " + std::to_string(count));
    }
    void setCurrentFileNumber(int index) override {
        events.push_back("number " + std::to_string(index));
    }
    void startNewNameComputation() override { events.push_back("names"); }
    void startOptimization(int count) override {
        events.push_back("order " + std::to_string(count));
    }
    void cleaningUp() override { events.push_back("cleaning"); }
    void finish() override { events.push_back("finish"); }
    std::vector<std::string> events;
};
} // namespace

TEST(RenameBatch, ReportsTheExpansionAndEveryNameThenLeavesTheListQuiet) {
    FileListFixture f;
    f.dir.write("folder/a.txt");
    f.addRoot("folder");
    f.list.setProcessFiles(1);
    f.list.setProcessSubFolders(1);
    RenameBatch batch;
    batch.setDynamicFileList(&f.list);
    batch.setNewNameComputer([](const std::string&, int) { return std::u16string(u"b.txt"); });
    RecordingReceiver receiver;
    batch.start(receiver);
    const std::string a = f.dir / "folder/a.txt";
    EXPECT_EQ(receiver.events,
              (std::vector<std::string>{"total 1", "path " + a, "total 1", "names", "path " + a,
                                        "number 0", "order 1", "cleaning", "finish"}));
    ASSERT_EQ(batch.getRenameOptimizer().count(), 1u);
    EXPECT_EQ(batch.getRenameOptimizer().newName(0), u"b.txt");

    receiver.events.clear();
    f.list.update();
    EXPECT_TRUE(receiver.events.empty());
}
