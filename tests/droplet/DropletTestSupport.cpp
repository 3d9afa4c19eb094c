#include "tests/droplet/DropletTestSupport.h"

#include "platform/UserDefaults.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace morvane::test {

std::string builtTemplate() {
    return std::string(MORVANE_BINARY_DIR) +
           "/Morvane 7.app/Contents/Resources/Components/Tessary Droplet.app";
}

plist::Dictionary flatChain(const std::vector<ChainStep>& steps) {
    plist::Array array;
    for (const auto& step : steps)
        array.push_back(plist::Dictionary{{"action name", step.name},
                                          {"action parameter list", step.parameters}});
    return {{"currentActionIndex", plist::Value(static_cast<int>(steps.size()) - 1)},
            {"composite actions array", array}};
}

DropletEnvironment::DropletEnvironment() {
    if (const char* old = std::getenv("MORVANE_BUNDLE_RESOURCES")) {
        saved_ = old;
        hadSaved_ = true;
    }
    std::filesystem::create_directories(resources / "Components");
    std::filesystem::copy(builtTemplate(), resources / "Components/Tessary Droplet.app",
                          std::filesystem::copy_options::recursive);
    setenv("MORVANE_BUNDLE_RESOURCES", resources.path().c_str(), 1);
    std::filesystem::remove(domainFile());
}

DropletEnvironment::~DropletEnvironment() {
    if (hadSaved_)
        setenv("MORVANE_BUNDLE_RESOURCES", saved_.c_str(), 1);
    else
        unsetenv("MORVANE_BUNDLE_RESOURCES");
    std::filesystem::remove(domainFile());
}

std::string DropletEnvironment::domainFile() const {
    return UserDefaults::defaultFolder() + "/" + kApplicationDomain + ".plist";
}

std::unique_ptr<UserDefaults> DropletEnvironment::domain() const {
    return std::make_unique<UserDefaults>(kApplicationDomain);
}

LaunchedController::LaunchedController(UserDefaults& defaults)
    : registry(defaults), controller(port, defaults, registry, &timer) {
    // Never the test program itself: a droplet would start it.
    controller.setApplicationLocation("/nonexistent/Morvane 7.app");
    controller.applicationDidFinishLaunching();
}

ProgramResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment) {
    TempDir scratch{"program"};
    const std::string errPath = scratch / "stderr";
    std::vector<std::string> env;
    for (char** entry = environ; *entry; ++entry)
        env.emplace_back(*entry);
    env.insert(env.end(), environment.begin(), environment.end());
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (auto& entry : env)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(err, 2);
        execve(program.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(errPath)};
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

} // namespace morvane::test
