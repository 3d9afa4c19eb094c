#pragma once
// The droplet tests' surroundings: the application's resource folder made from
// the built template, the application's own preferences domain (emptied for
// each test), a controller that launches with whatever that domain holds, and
// the programs run as a file manager would run them.
#include "MRVN7x/actions/ActionList.h"
#include "MRVN7x/app/ApplicationDefaults.h"
#include "MRVN7x/app/MainController.h"
#include "tests/support/FakePort.h"
#include "tests/support/FakeTimer.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace morvane::test {

// The template as the build made it.
std::string builtTemplate();

// A step of a chain, with the parameters that differ from its defaults.
struct ChainStep {
    std::string name;
    plist::Dictionary parameters;
};
plist::Dictionary flatChain(const std::vector<ChainStep>& steps);

class DropletEnvironment {
public:
    DropletEnvironment();
    ~DropletEnvironment();

    // The application's domain as every process of the test sees it.
    std::string domainFile() const;
    // A fresh view of the domain file.
    std::unique_ptr<UserDefaults> domain() const;

    TempDir resources{"resources"};
    TempDir files{"files"};

private:
    std::string saved_;
    bool hadSaved_ = false;
};

// A controller over the application's domain, launched as the window launches.
struct LaunchedController {
    explicit LaunchedController(UserDefaults& defaults);
    FakePort port;
    FakeTimer timer;
    ActionList registry;
    MainController controller;
};

struct ProgramResult {
    int status = -1;
    std::string err;
};
// Runs program with arguments and extra "NAME=VALUE" environment; waits.
ProgramResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment = {});

// Polls until condition holds or the time is up.
bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit);

} // namespace morvane::test
