#include "MRVN7x/InstallationComponent/InstallationComponent.h"

#include "platform/Bundle.h"
#include "platform/FileOperations.h"
#include "platform/SystemLog.h"
#include "platform/Workspace.h"
#include "platform/XdgPaths.h"

#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace morvane {
namespace {
bool isFolder(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

Failure internalError(const char* message) {
    SystemLog::error(message);
    return {0, message};
}

// Copies source to target recursively, symbolic links as links. Removes its
// partial work when it fails.
bool copyTree(const std::string& source, const std::string& target) {
    std::error_code error;
    fs::copy(source, target, fs::copy_options::recursive | fs::copy_options::copy_symlinks, error);
    if (!error)
        return true;
    SystemLog::warning("Could not copy " + source + " to " + target + ": " + error.message());
    fs::remove_all(target, error);
    return false;
}
} // namespace

InstallationComponent::InstallationComponent()
    : resourceFolder_(Bundle::applicationResourceFolder()) {}

void InstallationComponent::setBundle(const std::string& bundlePath) {
    resourceFolder_ = Bundle::resourceFolder(bundlePath);
}

void InstallationComponent::setInstallationLocation(const std::string& path) {
    installationLocation_ = XdgPaths::libraryPath(path);
}

void InstallationComponent::setLocationWithinResourceBundle(const std::string& relativePath) {
    relativeLocation_ = relativePath;
}

void InstallationComponent::setScripts(const std::string& installer, const std::string& uninstaller,
                                       const std::vector<std::string>& installerArguments) {
    installer_ = installer;
    uninstaller_ = uninstaller;
    installerArguments_ = installerArguments;
}

bool InstallationComponent::runScript(const std::string& script,
                                      const std::vector<std::string>& arguments) const {
    if (script.empty())
        return true;
    const std::string path = installedPath() + "/" + script;
    if (!FileOperations::exists(path))
        return true;
    std::vector<std::string> shellArguments{path};
    shellArguments.insert(shellArguments.end(), arguments.begin(), arguments.end());
    const int status = Workspace::runAndWait("/bin/sh", shellArguments);
    if (status != 0)
        SystemLog::warning(path + " ended with status " + std::to_string(status));
    return status == 0;
}

std::string InstallationComponent::sourcePath() const {
    return resourceFolder_ + "/" + relativeLocation_;
}

std::string InstallationComponent::installedPath() const {
    // "Components/X.plugin/" names X.plugin too; "", "." and ".." name no
    // item, and must never make the installation folder itself the target.
    std::string relative = relativeLocation_;
    while (!relative.empty() && relative.back() == '/')
        relative.pop_back();
    const std::string name = relative.substr(relative.find_last_of('/') + 1);
    if (name.empty() || name == "." || name == "..")
        return {};
    return installationLocation_ + "/" + name;
}

int InstallationComponent::createDirectoryPath(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0)
        return S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
    const auto slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0)
        if (const int error = createDirectoryPath(path.substr(0, slash)))
            return error;
    return mkdir(path.c_str(), 0755) == 0 || errno == EEXIST ? 0 : errno;
}

bool InstallationComponent::install() const {
    const std::string target = installedPath();
    if (target.empty() || !FileOperations::exists(sourcePath()) || FileOperations::exists(target))
        return false;
    if (createDirectoryPath(installationLocation_) != 0)
        return false;
    std::string partial = installationLocation_ + "/.installing-XXXXXX";
    if (!mkdtemp(partial.data()))
        return false;
    const std::string copy = partial + "/" + fs::path(target).filename().string();
    const bool done = copyTree(sourcePath(), copy) && FileOperations::moveNoReplace(copy, target);
    std::error_code ignored;
    fs::remove_all(partial, ignored);
    if (!done)
        return false;
    if (runScript(installer_, installerArguments_))
        return true;
    fs::remove_all(target, ignored);
    return false;
}

bool InstallationComponent::isAlreadyInstalled() const {
    const std::string target = installedPath();
    return !target.empty() && FileOperations::exists(target);
}

Result<bool> InstallationComponent::needsUpgrading() const {
    if (!isAlreadyInstalled())
        return false;
    if (!FileOperations::exists(sourcePath()))
        return internalError(kSourceNotFound);
    if (!isFolder(installedPath()))
        return internalError(kInstalledNotFound);
    // A bundle without a version number counts as version 0.
    const auto installed = Bundle::version(installedPath()).value_or(0);
    const auto available = Bundle::version(sourcePath()).value_or(0);
    return installed < available;
}

bool InstallationComponent::performUpgrade() const {
    return uninstall() && install();
}

bool InstallationComponent::uninstall() const {
    if (!isAlreadyInstalled())
        return true;
    if (isFolder(installedPath()) && !runScript(uninstaller_, {}))
        return false;
    std::error_code error;
    fs::remove_all(installedPath(), error);
    if (error)
        SystemLog::warning("Could not remove " + installedPath() + ": " + error.message());
    return !error && !FileOperations::exists(installedPath());
}

bool InstallationComponent::launch() const {
    return isAlreadyInstalled() && Workspace::launchApplication(installedPath());
}

} // namespace morvane
