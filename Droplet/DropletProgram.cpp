#include "Droplet/DropletProgram.h"

#include "MRVN7x/app/DropletHandOver.h"
#include "platform/Bundle.h"
#include "platform/SystemLog.h"
#include "platform/UserDefaults.h"
#include "platform/Workspace.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace morvane {
namespace {
constexpr const char* kNothingRenamed = " Nothing was renamed.";

bool isFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isProgram(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}
std::string secondsText(std::chrono::milliseconds time) {
    char text[32];
    std::snprintf(text, sizeof text, time.count() % 1000 ? "%.1f seconds" : "%.0f seconds",
                  static_cast<double>(time.count()) / 1000);
    return text;
}
} // namespace

DropletProgram::DropletProgram(std::string bundlePath, std::vector<std::string> files)
    : bundlePath_(std::move(bundlePath)), files_(std::move(files)) {}

std::optional<std::string> DropletProgram::ownBundle() {
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    const auto contents = program.parent_path().parent_path();
    if (error || program.parent_path().filename() != "bin" || contents.filename() != "Contents")
        return std::nullopt;
    return contents.parent_path().string();
}

std::chrono::milliseconds DropletProgram::timeout() {
    const char* text = std::getenv("MORVANE_DROPLET_TIMEOUT");
    const double seconds = text && text[0] ? std::strtod(text, nullptr) : 0;
    if (seconds > 0 && seconds < 3600)
        return std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
    return kDefaultTimeout;
}

int DropletProgram::fail(std::string message) {
    message_ = std::move(message);
    SystemLog::error(message_);
    return 1;
}

std::optional<std::string>
DropletProgram::applicationProgram(UserDefaults& domain,
                                   const DropletSettingsFile::Handover& handover) {
    std::vector<std::string> candidates;
    if (auto location = domain.objectForKey("location"); location && location->asString())
        candidates.push_back(*location->asString());
    candidates.push_back(handover.defaultLocation);
    for (const std::string& candidate : candidates) {
        if (candidate.empty() || candidate.front() != '/')
            continue;
        const std::string program =
            isFolder(candidate) ? Bundle::executablePath(candidate) : candidate;
        if (isProgram(program))
            return program;
    }
    return std::nullopt;
}

int DropletProgram::run() {
    const std::string settingsPath = DropletSettingsFile::pathInBundle(bundlePath_);
    const auto handover = DropletSettingsFile::readHandover(settingsPath);
    const auto host = handover ? DropletSettingsFile::readHostSettings(settingsPath)
                               : Result<plist::Dictionary>(handover.failure());
    if (!host)
        return fail("The droplet " + bundlePath_ + " cannot be used: its settings are damaged (" +
                    host.message() + ")." + kNothingRenamed);
    UserDefaults domain(handover->locationKey);
    const auto program = applicationProgram(domain, *handover);
    if (!program)
        return fail("Morvane could not be found: its preferences name no location that exists, "
                    "and neither does the droplet's default location \"" +
                    handover->defaultLocation +
                    "\". Start Morvane once so that it records where it is." + kNothingRenamed);
    const std::string id = DropletHandOver::newId();
    DropletHandOver handOver(domain, handover->temporarySettingsKey);
    const auto wait = timeout();
    switch (handOver.post(DropletHandOver::makeRecord(*host, files_, settingsPath, id), wait)) {
    case DropletHandOver::Posting::Posted:
        break;
    case DropletHandOver::Posting::Busy:
        return fail("Another droplet's files are still waiting for Morvane; try again in a "
                    "moment." +
                    std::string(kNothingRenamed));
    case DropletHandOver::Posting::Unwritable:
        return fail("The droplet could not write to Morvane's preferences " + domain.filePath() +
                    "." + kNothingRenamed);
    }
    if (!Workspace::startDetached(*program, {"--droplet", id})) {
        handOver.takeBack(id);
        return fail("Morvane (" + *program + ") could not be started." + kNothingRenamed);
    }
    if (handOver.waitUntilTaken(id, wait) == DropletHandOver::Waiting::TakenBack)
        return fail("Morvane (" + *program + ") did not take the droplet's files within " +
                    secondsText(wait) + "." + kNothingRenamed);
    return 0;
}

} // namespace morvane
