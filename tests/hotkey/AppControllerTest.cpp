#include "HotKey/AppController.h"
#include "HotKey/KeyTable.h"
#include "platform/ScriptRunner.h"
#include "platform/SystemLog.h"
#include "tests/hotkey/HotKeyFakes.h"
#include "tests/hotkey/HotKeyTestSupport.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <malloc.h>

using namespace tsyhotkey;
using morvane::UserDefaults;
using morvane::plist::Dictionary;
using morvane::plist::Value;
using morvane::test::TempDir;
using tsyhotkey::test::FakeRegistrar;
using tsyhotkey::test::FakeScriptEngine;
using tsyhotkey::test::FakeWorkspace;
using tsyhotkey::test::HotKeyTest;

namespace {

constexpr std::uint32_t kCmdCtrl = kCommandKeyMask | kControlKeyMask;

std::size_t openFileCount() {
    std::size_t count = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir))
            ++count;
        closedir(dir);
    }
    return count;
}

} // namespace

TEST(KeyTable, HoldsTheSixtyOneKeysWithTheirCodesAndFlags) {
    EXPECT_EQ(KeyTable::entries().size(), 61u);
    struct Case {
        const char* name;
        int code;
        bool allowedAlone;
    } cases[] = {{"0", 29, false},       {"9", 25, false},         {"A", 0, false},
                 {"R", 15, false},       {"Z", 6, false},          {"F1", 122, true},
                 {"F11", 103, true},     {"INSERT", 114, true},    {"F16", 106, true},
                 {"DELETE", 117, false}, {"UP ARROW", 126, false}, {"END", 119, false},
                 {"HELP", 114, true}};
    for (const Case& c : cases) {
        EXPECT_EQ(KeyTable::keyCodeForName(c.name), c.code) << c.name;
        EXPECT_EQ(KeyTable::allowedWithoutModifierForName(c.name), c.allowedAlone) << c.name;
    }
    EXPECT_FALSE(KeyTable::keyCodeForName("F14"));
    EXPECT_FALSE(KeyTable::allowedWithoutModifierForName("r"));
    EXPECT_STREQ(KeyTable::entryForKeyCode(114)->name, "INSERT");
    EXPECT_EQ(KeyTable::entries()[47].name, std::string("INSERT"));
    EXPECT_EQ(KeyTable::entries()[60].name, std::string("HELP"));
}

TEST(AppControllerDefaults, AreTheFiveProductsRecordsAndLaunchAtLogin) {
    const Dictionary defaults = AppController::createDefaultValueDictionary();
    struct Case {
        const char* product;
        const char* keyString;
        std::int64_t keyCode;
        std::int64_t modifiers;
    } cases[] = {{"mrvn", "R", 15, 1310720},
                 {"prnw", "S", 1, 1310720},
                 {"qnby", "A", 0, 1310720},
                 {"grlkn", "C", 8, 1310720},
                 {"tmbl", "F1", 122, 0}};
    for (const Case& c : cases) {
        const Dictionary& record = *defaults.at(c.product).asDictionary();
        EXPECT_EQ(*record.at("keyString").asString(), c.keyString) << c.product;
        EXPECT_EQ(*record.at("keyCode").asInteger(), c.keyCode) << c.product;
        EXPECT_EQ(*record.at("keyModifier").asInteger(), c.modifiers) << c.product;
        EXPECT_EQ(*record.at("switchedOn").asString(), "YES") << c.product;
    }
    EXPECT_EQ(*defaults.at("launchAtLogin").asString(), "YES");
    EXPECT_EQ(defaults.size(), 6u);
}

TEST_F(HotKeyTest, NothingInstalledRegistersNothing) {
    controller->awakeFromNib();
    EXPECT_TRUE(registrar.grabs.empty());
    EXPECT_EQ(registrar.attempts, 0);
    EXPECT_EQ(registrar.commits, 1);
}

TEST_F(HotKeyTest, EveryInstalledProductGetsItsDefaultKey) {
    installEverything();
    controller->awakeFromNib();
    EXPECT_EQ(registrar.holder({15, kCmdCtrl}), controller->handle(Product::Morvane));
    EXPECT_EQ(registrar.holder({1, kCmdCtrl}), controller->handle(Product::Pirnow));
    EXPECT_EQ(registrar.holder({0, kCmdCtrl}), controller->handle(Product::Quenby));
    EXPECT_EQ(registrar.holder({8, kCmdCtrl}), controller->handle(Product::Grulkan));
    EXPECT_EQ(registrar.holder({122, 0}), controller->handle(Product::Tambrel));
    EXPECT_EQ(application.registeredCount(), 5u);
    for (Product product : kProducts)
        EXPECT_NE(controller->handle(product), 0u);
}

TEST_F(HotKeyTest, SwitchedOffUnregistersAtTheNextTickAndOnRegistersAgain) {
    installEverything();
    controller->awakeFromNib();
    struct Case {
        Product product;
        std::int64_t keyCode;
    } cases[] = {
        {Product::Morvane, 15}, {Product::Pirnow, 1}, {Product::Quenby, 0}, {Product::Grulkan, 8}};
    for (const Case& c : cases) {
        const char* key = AppController::productKey(c.product);
        for (const char* off : {"NO", "yes", ""}) {
            writeRecord(key, c.keyCode, kCmdCtrl, off);
            controller->timeUp();
            EXPECT_EQ(controller->handle(c.product), 0u) << key << " " << off;
            EXPECT_EQ(registrar.holder({std::uint16_t(c.keyCode), kCmdCtrl}), 0u) << key;
        }
        writeRecord(key, c.keyCode, kCmdCtrl, nullptr);
        controller->timeUp();
        EXPECT_EQ(controller->handle(c.product), 0u) << key << " without a switch";
        writeRecord(key, c.keyCode, kCmdCtrl, "YES");
        controller->timeUp();
        EXPECT_NE(controller->handle(c.product), 0u) << key;
        EXPECT_EQ(registrar.holder({std::uint16_t(c.keyCode), kCmdCtrl}),
                  controller->handle(c.product));
    }
    EXPECT_EQ(application.registeredCount(), 5u);
}

TEST_F(HotKeyTest, TambrelStaysRegisteredWhateverSwitchedOnSays) {
    installInSupport("Tambrel.app");
    for (const char* value : {"NO", "", static_cast<const char*>(nullptr), "YES"}) {
        writeRecord("tmbl", 122, 0, value, "F1");
        controller->timeUp();
        EXPECT_NE(controller->handle(Product::Tambrel), 0u) << (value ? value : "absent");
        EXPECT_EQ(registrar.holder({122, 0}), controller->handle(Product::Tambrel));
    }
}

TEST_F(HotKeyTest, AnUninstalledProductKeepsItsKeyAndAReinstalledOneGetsANewHandle) {
    std::string pirnow = installInSupport("Pirnow.app");
    controller->timeUp();
    const HotKeyHandle first = controller->handle(Product::Pirnow);
    ASSERT_NE(first, 0u);
    ASSERT_EQ(rmdir(pirnow.c_str()), 0);
    controller->timeUp();
    controller->timeUp();
    EXPECT_EQ(controller->handle(Product::Pirnow), first);
    EXPECT_TRUE(application.isRegistered(first));
    installInSupport("Pirnow.app");
    controller->timeUp();
    const HotKeyHandle second = controller->handle(Product::Pirnow);
    EXPECT_NE(second, 0u);
    EXPECT_NE(second, first);
    EXPECT_FALSE(application.isRegistered(first));
    EXPECT_EQ(registrar.holder({1, kCmdCtrl}), second);
}

TEST_F(HotKeyTest, ARefusedCombinationGivesHandleZeroAndIsTriedAgainAtTheNextTick) {
    installEverything();
    registrar.refused.insert({15, kCmdCtrl});
    const std::uint32_t identifierBefore = HotKeyApplication::nextIdentifier();
    controller->timeUp();
    EXPECT_EQ(controller->handle(Product::Morvane), 0u);
    EXPECT_EQ(application.registeredCount(), 4u);
    // Every attempt, refused ones too, takes an identifier.
    EXPECT_EQ(HotKeyApplication::nextIdentifier() - identifierBefore, 5u);
    registrar.refused.clear();
    controller->timeUp();
    EXPECT_NE(controller->handle(Product::Morvane), 0u);
    EXPECT_EQ(application.registeredCount(), 5u);
}

TEST_F(HotKeyTest, AKeyNameNotInTheTableLeavesTheStoredKeyCodeInUse) {
    root.makeFolder("Applications/Morvane 7.app");
    struct Case {
        const char* keyString;
        std::int64_t keyCode;
    } cases[] = {{"NO SUCH KEY", 40}, {"R", 31}, {"", 122}};
    for (const Case& c : cases) {
        writeRecord("mrvn", c.keyCode, kControlKeyMask | kShiftKeyMask, "YES", c.keyString);
        controller->timeUp();
        EXPECT_EQ(registrar.holder({std::uint16_t(c.keyCode), kControlKeyMask | kShiftKeyMask}),
                  controller->handle(Product::Morvane))
            << c.keyString;
        EXPECT_EQ(registrar.grabs.size(), 1u);
    }
}

TEST_F(HotKeyTest, ADamagedPreferencesFileIsSetAsideAndTheDefaultsApply) {
    root.makeFolder("Applications/Morvane 7.app");
    writeRecord("mrvn", 40, kCmdCtrl, "YES");
    controller->timeUp();
    ASSERT_NE(registrar.holder({40, kCmdCtrl}), 0u);
    const std::string file = root / ("config/ossvale/" + std::string(kHotKeyDomain) + ".plist");
    root.write("config/ossvale/" + std::string(kHotKeyDomain) + ".plist", "<plist><dict><key>");
    std::vector<std::string> log;
    morvane::SystemLog::setSink([&](auto, const std::string& line) { log.push_back(line); });
    controller->timeUp();
    morvane::SystemLog::setSink({});
    EXPECT_TRUE(morvane::test::pathExists(file + ".damaged"));
    EXPECT_FALSE(log.empty());
    EXPECT_EQ(registrar.holder({15, kCmdCtrl}), controller->handle(Product::Morvane));
    EXPECT_EQ(registrar.holder({40, kCmdCtrl}), 0u);
}

TEST_F(HotKeyTest, TerminationUnregistersEveryKey) {
    installEverything();
    controller->awakeFromNib();
    ASSERT_EQ(registrar.grabs.size(), 5u);
    EXPECT_TRUE(controller->applicationShouldTerminate());
    EXPECT_TRUE(registrar.grabs.empty());
    EXPECT_EQ(application.registeredCount(), 0u);
    for (Product product : kProducts)
        EXPECT_EQ(controller->handle(product), 0u);
}

TEST_F(HotKeyTest, ThePressHandlersBuildTheExactScriptsAndLaunches) {
    const std::string support = root / "data";
    const auto colon = [](const std::string& posix) {
        return morvane::ScriptRunner::colonPathFromPosix(posix);
    };
    const auto script = [](const std::string& colonPath) {
        return "on run\ntell application \"Finder\"\nif selection is {} then\n"
               "select (items of target of (front window))\nend if\n"
               "open selection using \"" +
               colonPath + "\"\nend tell\nend run\n";
    };
    const std::string morvane = root.makeFolder("Applications/Utilities/Morvane 7.app");
    const std::string quenby4 = root.makeFolder("Elsewhere/Q4: new.app");
    writeDomainValue("net.halvard.qnby4", "location", Value(quenby4));
    installInSupport("Pirnow.app");
    installInSupport("TSY Grulkan.app");
    struct Case {
        Product product;
        bool fileManagerInFront;
        std::vector<std::string> scripts;
    } cases[] = {
        {Product::Morvane, true, {script(colon(morvane))}},
        {Product::Morvane, false, {}},
        {Product::Quenby, true, {script(colon(quenby4))}},
        {Product::Pirnow, true, {script(colon(support + "/Pirnow.app"))}},
        {Product::Grulkan, true, {script(colon(support + "/TSY Grulkan.app"))}},
        {Product::Grulkan, false, {}},
    };
    for (const Case& c : cases) {
        scripts.executed.clear();
        workspace.fileManagerInFront = c.fileManagerInFront;
        controller->hotKeyPressed(c.product);
        EXPECT_EQ(scripts.executed, c.scripts) << AppController::productKey(c.product);
    }
    EXPECT_TRUE(colon(quenby4).ends_with(":Elsewhere:Q4/ new.app")) << colon(quenby4);
    EXPECT_TRUE(workspace.launched.empty());
}

TEST_F(HotKeyTest, QuenbyFallsBackToVersionThreeAndTambrelToVersionOneWithAWakeUp) {
    const std::string quenby3 = installInSupport("Quenby.app");
    const std::string tambrel1 = installInSupport("Tambrel.app");
    controller->hotKeyPressed(Product::Quenby);
    ASSERT_EQ(scripts.executed.size(), 1u);
    EXPECT_NE(scripts.executed[0].find(morvane::ScriptRunner::colonPathFromPosix(quenby3)),
              std::string::npos);
    // Tambrel starts whatever window is in front.
    workspace.fileManagerInFront = false;
    controller->hotKeyPressed(Product::Tambrel);
    EXPECT_EQ(workspace.launched, std::vector<std::string>{tambrel1});
    EXPECT_EQ(workspace.wakeUps, 1);
    const std::string tambrel2 = root.makeFolder("Applications/Tambrel 2.app");
    controller->hotKeyPressed(Product::Tambrel);
    EXPECT_EQ(workspace.launched.back(), tambrel2);
    EXPECT_EQ(workspace.wakeUps, 1);
    // A script that does not compile is not run.
    scripts.compiles = false;
    scripts.executed.clear();
    workspace.fileManagerInFront = true;
    controller->hotKeyPressed(Product::Quenby);
    EXPECT_TRUE(scripts.executed.empty());
}

TEST_F(HotKeyTest, ThePressOfARegisteredKeyRunsItsProductsHandler) {
    const std::string morvane = root.write("tool/morvane-stand-in", "");
    writeDomainValue("net.halvard.mrvn7", "location", Value(morvane));
    controller->timeUp();
    ASSERT_NE(controller->handle(Product::Morvane), 0u);
    application.sendEvent(controller->handle(Product::Morvane) + 1000);
    EXPECT_TRUE(scripts.executed.empty());
    application.sendEvent(controller->handle(Product::Morvane));
    ASSERT_EQ(scripts.executed.size(), 1u);
    EXPECT_NE(scripts.executed[0].find(morvane::ScriptRunner::colonPathFromPosix(morvane)),
              std::string::npos);
}

TEST(ScriptRunner, RunsTheOpenSelectionScriptWithTheSelectionOrNothing) {
    using namespace morvane::ScriptRunner;
    struct Case {
        std::string posix;
        std::string colon;
    } paths[] = {{"/usr/lib/Morvane 7.app", "usr:lib:Morvane 7.app"},
                 {"/a:b/c/", "a/b:c"},
                 {"/x \"quoted\"/T.app", "x \"quoted\":T.app"}};
    for (const Case& c : paths) {
        EXPECT_EQ(colonPathFromPosix(c.posix), c.colon);
        std::vector<std::string> items = {"/home/u/one.jpg", "/home/u/two"};
        for (bool withSelection : {true, false}) {
            std::string tool;
            std::vector<std::string> opened;
            FileManagerBridge bridge{
                [&] { return withSelection ? items : std::vector<std::string>{}; },
                [&](const std::string& t, const std::vector<std::string>& i) {
                    tool = t;
                    opened = i;
                    return true;
                }};
            const std::string script = openSelectionScript(c.colon);
            EXPECT_TRUE(canRun(script));
            EXPECT_TRUE(run(script, bridge));
            EXPECT_EQ(tool, *posixPathFromColon(c.colon));
            EXPECT_EQ(opened, withSelection ? items : std::vector<std::string>{});
        }
    }
    EXPECT_EQ(*posixPathFromColon("a/b:c"), "/a:b/c");
    for (const char* bad : {"", ":x", "x:", "a::b"})
        EXPECT_FALSE(posixPathFromColon(bad)) << bad;
    EXPECT_FALSE(canRun(openSelectionScript("a\nb")));
    EXPECT_FALSE(canRun("on run\nend run\n"));
    EXPECT_FALSE(run(renameScript(), {}));
}

TEST_F(HotKeyTest, TenThousandRereadsNeitherGrowMemoryNorOpenFiles) {
    installEverything();
    writeRecord("mrvn", 40, kCmdCtrl, "YES");
    for (int i = 0; i < 100; ++i)
        controller->timeUp();
    const std::size_t filesBefore = openFileCount();
    const std::size_t heapBefore = mallinfo2().uordblks;
    for (int i = 0; i < 10000; ++i)
        controller->timeUp();
    const std::size_t heapAfter = mallinfo2().uordblks;
    EXPECT_EQ(openFileCount(), filesBefore);
    // A few kilobytes of allocator noise at most, never a leak per tick.
    EXPECT_LT(heapAfter, heapBefore + 16 * 1024)
        << "heap grew from " << heapBefore << " to " << heapAfter;
    EXPECT_EQ(registrar.grabs.size(), 5u);
    EXPECT_EQ(application.registeredCount(), 5u);
    RecordProperty("heapBytesBefore", std::to_string(heapBefore));
    RecordProperty("heapBytesAfter", std::to_string(heapAfter));
}
