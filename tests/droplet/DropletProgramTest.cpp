// The droplet program end to end: a droplet made by the application in a
// temporary folder, started with files as a file manager starts it, hands
// them to the real Morvane (offscreen), which renames them and ends; and the
// failures, each with a clear message, nothing renamed, no record left.
#include "MRVN7x/app/DefaultsKeys.h"
#include "MRVN7x/app/DropletHandOver.h"
#include "MRVN7x/app/DropletSettingsFile.h"
#include "platform/Bundle.h"
#include "tests/droplet/DropletTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace morvane;
using namespace morvane::test;
using namespace std::chrono_literals;

namespace {
[[maybe_unused]] const std::vector<std::string> kOffscreen{"QT_QPA_PLATFORM=offscreen"};

// The pids of running processes whose program is program and whose
// arguments hold argument ("" for any).
[[maybe_unused]] std::vector<pid_t> processesOf(const std::string& program,
                                                const std::string& argument) {
    std::vector<pid_t> pids;
    DIR* proc = opendir("/proc");
    while (dirent* entry = proc ? readdir(proc) : nullptr) {
        const pid_t pid = std::atoi(entry->d_name);
        if (pid <= 0)
            continue;
        const std::string line = readFile("/proc/" + std::string(entry->d_name) + "/cmdline");
        const std::string first = line.substr(0, line.find('\0'));
        if (first == program && line.find(argument) != std::string::npos)
            pids.push_back(pid);
    }
    if (proc)
        closedir(proc);
    return pids;
}

struct Droplets {
    DropletEnvironment env;
    std::unique_ptr<UserDefaults> domain = env.domain();

    // The application as it was used before: past its first launch, with a
    // chain of its own, and its location recorded.
    explicit Droplets(const std::string& location) {
        domain->setObject("firstLaunchVersion", plist::Value(75600));
        domain->setObject("don't show droplet information again", plist::Value(true));
        domain->setObject("composite action", appChain());
        domain->setObject("location", plist::Value(location));
        domain->synchronize();
    }
    static plist::Dictionary appChain() {
        return flatChain({{"Add to end", {{"string", "_app"}}}});
    }

    // A droplet made by the application from a chain and global settings.
    std::string create(const std::string& name, const plist::Dictionary& globals) {
        LaunchedController app(*domain);
        EXPECT_TRUE(app.controller.compositeAction().setFlatParameterList(
            flatChain({{"Add to front", {{"string", "d_"}}}})));
        app.controller.globalSettings().setParameterList(globals);
        app.port.bundleSavePanelAnswers.push_back(env.files / name);
        app.port.alertAnswers.push_back(1); // the silent-droplet notice, if any
        app.controller.createDroplet();
        domain->synchronize();
        return env.files / (name + ".app");
    }
    std::string program(const std::string& droplet) { return Bundle::executablePath(droplet); }
    bool recordLeft() { return env.domain()->hasStoredValue(DefaultsKeys::dropletSettings); }
};
} // namespace

#ifdef MORVANE_GUI // a build with the window
TEST(DropletProgram, DroppedFilesAreRenamedByMorvaneWithoutTouchingAnOpenWindow) {
    Droplets d(MORVANE_GUI);
    const std::string plain =
        d.create("Plain", {{"interactiveMode", 0}, {"showSummary", 0}, {"silentDroplet", 0}});
    const std::string silent =
        d.create("Silent", {{"interactiveMode", 1}, {"showSummary", 1}, {"silentDroplet", 1}});
    // A window is open with a file of its own.
    const std::string windowFile = d.env.files.write("window/keep.txt", "w");
    const pid_t window = fork();
    if (window == 0) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        execl(MORVANE_GUI, MORVANE_GUI, windowFile.c_str(), nullptr);
        _exit(127);
    }
    std::this_thread::sleep_for(1500ms);

    std::vector<std::string> files;
    for (const char* name : {"one.txt", "two.txt", "three.txt"})
        files.push_back(d.env.files.write(std::string("drop/") + name, name));
    const auto started = std::chrono::steady_clock::now();
    const ProgramResult run = runProgram(d.program(plain), files, kOffscreen);
    const auto handOver = std::chrono::steady_clock::now() - started;
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(waitUntil(
        [&] {
            return pathExists(d.env.files / "drop/d_one.txt") &&
                   pathExists(d.env.files / "drop/d_two.txt") &&
                   pathExists(d.env.files / "drop/d_three.txt");
        },
        20s));
    std::printf("[ figures  ] droplet hand-over (program start to record taken): %lld ms\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(handOver).count()));

    // The silent droplet: no dialog (offscreen, one would never be answered),
    // the name that is taken skipped.
    const std::string a = d.env.files.write("quiet/a.txt", "a");
    const std::string b = d.env.files.write("quiet/b.txt", "b");
    d.env.files.write("quiet/d_b.txt", "in the way");
    EXPECT_EQ(runProgram(d.program(silent), {a, b}, kOffscreen).status, 0);
    EXPECT_TRUE(waitUntil([&] { return pathExists(d.env.files / "quiet/d_a.txt"); }, 20s));
    // Every droplet window ends by itself.
    EXPECT_TRUE(waitUntil([&] { return processesOf(MORVANE_GUI, "--droplet").empty(); }, 20s));
    EXPECT_EQ(readFile(d.env.files / "quiet/b.txt"), "b");
    EXPECT_EQ(readFile(d.env.files / "quiet/d_b.txt"), "in the way");

    // The open window still runs, its file untouched; the application's chain as it was.
    EXPECT_EQ(waitpid(window, nullptr, WNOHANG), 0);
    EXPECT_TRUE(pathExists(windowFile));
    kill(window, SIGTERM);
    waitpid(window, nullptr, 0);
    EXPECT_EQ(*d.env.domain()->objectForKey("composite action"),
              plist::Value(Droplets::appChain()));
    EXPECT_FALSE(d.recordLeft());
}
#endif

#if defined(MORVANE_GUI) && defined(MORVANE_CLI)
// The window, a droplet and the command line started together on one folder
// take turns: each run takes the run lock before it reads the folder, so it
// either renames every item as the runs before it left them, or waits too
// long, is refused and renames nothing. Undoing the runs that ran brings back
// every name; no item is lost or overwritten on the way.
TEST(DropletProgram, TheWindowADropletAndTheCommandLineOnOneFolderTakeTurns) {
    Droplets d(MORVANE_GUI);
    const plist::Dictionary contentsOnly{{"processFiles", 1},
                                         {"processFolders", 0},
                                         {"processSubfolders", 1},
                                         {"interactiveMode", 0},
                                         {"showSummary", 0}};
    plist::Dictionary dropletGlobals = contentsOnly;
    dropletGlobals["silentDroplet"] = plist::Value(1);
    const std::string droplet = d.create("Front", dropletGlobals);
    const std::string folder = d.env.files / "together";
    constexpr int kItems = 300;
    for (int i = 0; i < kItems; ++i)
        d.env.files.write("together/" + std::to_string(i), std::to_string(i));

    // The window is open on the folder before the droplet hands anything over.
    LaunchedController window(*d.domain);
    ASSERT_TRUE(window.controller.compositeAction().setFlatParameterList(
        flatChain({{"Add to front", {{"string", "w_"}}}})));
    window.controller.globalSettings().setParameterList(contentsOnly);
    window.controller.addFilePath(folder);
    window.controller.updatePreview();

    ProgramResult cli, drop;
    std::thread commandLine([&] {
        cli = runProgram(MORVANE_CLI,
                         {"rename", "--step", "Add to front", "--set", "string=c_", "--global",
                          "processFolders=0", "--global", "processSubfolders=1", folder});
    });
    std::thread dropped([&] { drop = runProgram(d.program(droplet), {folder}, kOffscreen); });
    const bool windowRan = window.controller.applyCurrentSettings();
    commandLine.join();
    dropped.join();
    EXPECT_TRUE(waitUntil([&] { return processesOf(MORVANE_GUI, "--droplet").empty(); }, 60s));
    for (const pid_t stuck : processesOf(MORVANE_GUI, "--droplet"))
        kill(stuck, SIGKILL);
    EXPECT_EQ(drop.status, 0) << drop.err;
    EXPECT_TRUE(
        cli.status == 0 ||
        (cli.status == 1 && cli.err.find("another rename or undo is running") != std::string::npos))
        << cli.err;

    // Every item carries the same prefixes, one per run that ran, in the
    // order the runs took turns, and still holds its own contents.
    std::map<std::string, int> prefixes;
    int items = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename();
        const std::string contents = readFile(entry.path());
        ASSERT_GE(name.size(), contents.size()) << name;
        const std::string prefix = name.substr(0, name.size() - contents.size());
        EXPECT_EQ(name.substr(prefix.size()), contents) << name;
        ++prefixes[prefix];
        ++items;
    }
    EXPECT_EQ(items, kItems);
    ASSERT_EQ(prefixes.size(), 1u) << "runs mixed their work";
    const std::string prefix = prefixes.begin()->first;
    std::printf("[ figures  ] %d items, the runs' prefixes in turn: %s\n", kItems, prefix.c_str());
    EXPECT_EQ(prefix.size() % 2, 0u);
    for (const char run : {'w', 'd', 'c'})
        EXPECT_LE(std::count(prefix.begin(), prefix.end(), run), 1) << prefix;
    // A run that left no prefix was refused and said so.
    EXPECT_EQ(prefix.find('w') != std::string::npos, windowRan) << prefix;
    EXPECT_EQ(prefix.find('c') != std::string::npos, cli.status == 0) << prefix;
    EXPECT_NE(prefix.find('d'), std::string::npos) << "the droplet's run was refused: " << prefix;

    // Undo, newest run first, until no run is left to undo.
    for (size_t run = 0; run < prefix.size() / 2; ++run)
        EXPECT_EQ(runProgram(MORVANE_CLI, {"undo"}).status, 0);
    for (int i = 0; i < kItems; ++i)
        EXPECT_EQ(readFile(folder + "/" + std::to_string(i)), std::to_string(i)) << i;
}
#endif

TEST(DropletProgram, OpenedWithoutFilesTheDropletIsEditedAndSavedBack) {
    // A stand-in application notes how it was started; the test plays the
    // window started for the droplet.
    TempDir standIn{"standin"};
    const std::string started = standIn / "started";
    const std::string app = standIn.write("app", "#!/bin/sh\necho \"$2\" > '" + started + "'\n");
    chmod(app.c_str(), 0755);
    Droplets d(app);
    const std::string droplet = d.create("Edit", {{"silentDroplet", 1}});
    int status = -1;
    std::thread dropletProgram([&] {
        status = runProgram(d.program(droplet), {}, {"MORVANE_DROPLET_TIMEOUT=20"}).status;
    });
    ASSERT_TRUE(waitUntil([&] { return !readFile(started).empty(); }, 10s));
    std::string id = readFile(started);
    id.pop_back();
    auto record = DropletHandOver(*d.env.domain(), DefaultsKeys::dropletSettings).take(id);
    dropletProgram.join();
    ASSERT_TRUE(record);
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(plist::find(*record, "file list"));
    EXPECT_FALSE(d.recordLeft());

    auto domain = d.env.domain();
    LaunchedController window{*domain};
    ASSERT_FALSE(window.controller.isInDropletEditMode()); // launched before the record came
    FakePort port;
    FakeTimer timer;
    ActionList registry(*domain);
    MainController editor(port, *domain, registry, &timer);
    editor.setApplicationLocation("/nonexistent/Morvane 7.app");
    editor.setDropletRecord(*record);
    port.dontShowAgainAnswers.push_back({1, false});
    editor.applicationDidFinishLaunching();
    ASSERT_TRUE(editor.isInDropletEditMode());
    EXPECT_TRUE(editor.compositeAction().setFlatParameterList(flatChain({{"Make lowercase", {}}})));
    editor.ok();
    const auto host = DropletSettingsFile::readHostSettings(droplet);
    ASSERT_TRUE(host) << host.messageIfFailed();
    EXPECT_EQ(host->at("composite action"),
              plist::Value(editor.compositeAction().getFlatParameterList()));
    EXPECT_EQ(port.terminations, 1);
}

TEST(DropletProgram, FailuresAreToldAndLeaveNothingBehind) {
    TempDir standIn{"standin"};
    Droplets d("/bin/true"); // an application that never takes the record
    const std::string droplet = d.create("Fail", {{"silentDroplet", 0}});
    const std::string file = d.env.files.write("x.txt", "x");
    const std::string program = d.program(droplet);

    // The program is ours alone: no core library, no path relative to the build.
    const std::string bytes = readFile(program);
    EXPECT_EQ(bytes.find("libmrvn7core"), std::string::npos);
    EXPECT_EQ(bytes.find(MORVANE_BINARY_DIR "/lib"), std::string::npos);

    struct Case {
        const char* what;
        std::function<void()> arrange;
        const char* message;
    } cases[] = {
        {"never taken", [] {}, "did not take the droplet's files within"},
        {"another droplet waiting",
         [&] {
             d.domain->setObject(
                 DefaultsKeys::dropletSettings,
                 DropletHandOver::makeRecord({{"composite action", plist::Dictionary{}}},
                                             {"/other"}, "", "other"));
             d.domain->synchronize();
         },
         "Another droplet's files are still waiting"},
        {"application not found",
         [&] {
             d.domain->removeObject(DefaultsKeys::dropletSettings);
             d.domain->setObject("location", plist::Value(standIn / "gone/Morvane 7.app"));
             d.domain->synchronize();
         },
         "Morvane could not be found"},
        {"damaged settings",
         [&] { std::ofstream(DropletSettingsFile::pathInBundle(droplet)) << "<plist><dict>"; },
         "its settings are damaged"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.arrange();
        const ProgramResult result = runProgram(program, {file}, {"MORVANE_DROPLET_TIMEOUT=0.5"});
        EXPECT_EQ(result.status, 1);
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
        EXPECT_NE(result.err.find("Nothing was renamed."), std::string::npos);
        EXPECT_TRUE(pathExists(file));
        auto stored = d.env.domain()->objectForKey(DefaultsKeys::dropletSettings);
        const bool foreign = stored && stored->asDictionary() &&
                             DropletHandOver::fileList(*stored->asDictionary()) ==
                                 std::vector<std::string>{"/other"};
        EXPECT_TRUE(!stored || foreign) << "the droplet's own record was left behind";
    }
}
