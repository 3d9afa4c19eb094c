// The hand-over record between a droplet and the application: one slot in
// the application's domain, never overwritten unread, taken by exactly the
// window started for it, taken back by a droplet that waited in vain.
#include "MRVN7x/app/DropletHandOver.h"
#include "platform/UserDefaults.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace morvane;
using namespace std::chrono_literals;

namespace {
constexpr const char* kKey = "droplet settings";

struct Domain {
    test::TempDir folder{"domain"};
    UserDefaults droplet{"net.halvard.mrvn7", folder.path()};
    UserDefaults application{"net.halvard.mrvn7", folder.path()};
    DropletHandOver dropletSide{droplet, kKey};
    DropletHandOver applicationSide{application, kKey};

    plist::Dictionary record(const std::vector<std::string>& files, const std::string& id) {
        const plist::Dictionary host{{"composite action", plist::Dictionary{{"x", 1}}}};
        return DropletHandOver::makeRecord(host, files, "/d/Settings.plist", id);
    }
};
} // namespace

TEST(HandOver, AnUnreadRecordIsNeverOverwrittenAndEachWindowTakesItsOwn) {
    Domain d;
    ASSERT_EQ(d.dropletSide.post(d.record({"/a"}, "first"), 0ms), DropletHandOver::Posting::Posted);
    // A second droplet dropped on at once waits for the slot and gives up in time.
    EXPECT_EQ(d.dropletSide.post(d.record({"/b"}, "second"), 150ms),
              DropletHandOver::Posting::Busy);
    // Neither a window started by hand nor the second droplet's window takes it.
    EXPECT_FALSE(d.applicationSide.take());
    EXPECT_FALSE(d.applicationSide.take("second"));
    auto taken = d.applicationSide.take("first");
    ASSERT_TRUE(taken);
    EXPECT_EQ(DropletHandOver::fileList(*taken), std::vector<std::string>{"/a"});
    // Taking removed it at once: the droplet sees it taken, the slot is free.
    EXPECT_EQ(d.dropletSide.waitUntilTaken("first", 0ms), DropletHandOver::Waiting::Taken);
    EXPECT_EQ(d.dropletSide.post(d.record({"/b"}, "second"), 0ms),
              DropletHandOver::Posting::Posted);
    EXPECT_FALSE(d.applicationSide.take("first"));
}

TEST(HandOver, ADropletThatWaitsInVainTakesItsRecordBack) {
    Domain d;
    ASSERT_EQ(d.dropletSide.post(d.record({"/a"}, "mine"), 0ms), DropletHandOver::Posting::Posted);
    EXPECT_EQ(d.dropletSide.waitUntilTaken("mine", 120ms), DropletHandOver::Waiting::TakenBack);
    // A window that starts late finds nothing to run.
    d.application.synchronize();
    EXPECT_FALSE(d.application.hasStoredValue(kKey));
    EXPECT_FALSE(d.applicationSide.take("mine"));
}

TEST(HandOver, ARecordLeftByADeadDropletIsReplacedAndOneWithoutIdIsTakenByAnyLaunch) {
    Domain d;
    plist::Dictionary old = d.record({"/old"}, "dead");
    old[DropletHandOver::kPosted] = plist::Value(std::int64_t(1'000'000));
    d.application.setObject(kKey, old);
    d.application.synchronize();
    ASSERT_EQ(d.dropletSide.post(d.record({"/new"}, "alive"), 0ms),
              DropletHandOver::Posting::Posted);
    EXPECT_EQ(DropletHandOver::fileList(*d.applicationSide.take("alive")),
              std::vector<std::string>{"/new"});

    // Another program's record has no id: the next launch takes it.
    d.application.setObject(kKey, plist::Dictionary{{"composite action", plist::Dictionary{}}});
    d.application.synchronize();
    EXPECT_TRUE(d.applicationSide.take());
    EXPECT_FALSE(d.applicationSide.take());
}

TEST(HandOver, OtherKeysWrittenMeanwhileAreKeptAndNamesThatAreNotUtf8Survive) {
    Domain d;
    d.application.setObject("main window position x", plist::Value(40)); // pending in the window
    const std::string odd = "/files/caf\xe9 \xff.txt";
    ASSERT_EQ(d.dropletSide.post(d.record({odd, "/files/plain"}, "id"), 0ms),
              DropletHandOver::Posting::Posted);
    ASSERT_TRUE(d.application.synchronize());
    UserDefaults reread("net.halvard.mrvn7", d.folder.path());
    EXPECT_EQ(reread.objectForKey("main window position x"), plist::Value(40));
    DropletHandOver readSide(reread, kKey);
    auto taken = readSide.take("id");
    ASSERT_TRUE(taken);
    EXPECT_EQ(DropletHandOver::fileList(*taken), (std::vector<std::string>{odd, "/files/plain"}));
}
