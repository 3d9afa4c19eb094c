// Droplets: creating one from the current settings, taking over the record a
// droplet hands to the application at launch, the droplet run, and saving an
// edited droplet back into its settings file.
#include "MRVN7x/app/ApplicationDefaults.h"
#include "MRVN7x/app/DefaultsKeys.h"
#include "MRVN7x/app/DropletHandOver.h"
#include "MRVN7x/app/DropletLauncherFile.h"
#include "MRVN7x/app/DropletSettingsFile.h"
#include "MRVN7x/app/MainController.h"
#include "platform/Bundle.h"
#include "platform/FileOperations.h"
#include "platform/SystemLog.h"
#include "platform/XdgPaths.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace morvane {
namespace {
constexpr const char* kCannotCreate = "Cannot create droplet.";
constexpr const char* kCannotCreateText =
    "An error ocurred while attempting to create the droplet. You may not have sufficient access "
    "privileges for the containing folder.";
constexpr const char* kCannotUse = "Cannot use this droplet.";
constexpr const char* kPreReleaseText =
    "This droplet appears to have been created with an early pre-release version of Morvane "
    "7.\n\nThe new multi-step rename feature required changes to the way that the tool operates "
    "and regrettably this meant that backwards compatibility with pre-release droplets could "
    "not be maintained.\n\nPlease re-create your droplet in the latest version.\n\nSorry for the "
    "inconvenience";
constexpr const char* kDamagedText =
    "The settings this droplet handed over are damaged, so its steps cannot be used. Nothing "
    "was renamed.\n\nPlease edit the droplet or re-create it.";
constexpr const char* kSilentTitle = "You have created a silent mode droplet.";
constexpr const char* kSilentText =
    "Please note that you have just created a droplet that will operate in the special "
    "\"silent\" mode.\n\nThis droplet will not bring up any dialogs while it executes. If an "
    "error condition arises during its execution, it will simply proceed to the next file name "
    "without showing any error information.\n\nThe silent mode overrides the \"Show "
    "confirmation dialog before renaming\" and \"Show summary after renaming is complete\" "
    "settings and disables the conflict resolution dialog.\n\nThe silent mode is designed for "
    "situations where you wish to use the droplet within a larger automated workflow, but its "
    "use can lead to difficulties in identifying problems. The droplet will simply appear to "
    "fail without reason.\n\nIf you want to switch this mode off, edit the droplet and untick "
    "the \"Execute as silent droplet\"  checkbox in the Advanced Options section.";

// The chosen name without its extension, and ".app": never "X.app.app".
std::string dropletPathFor(const std::string& chosen) {
    const fs::path path(chosen);
    return (path.parent_path() / path.stem()).string() + ".app";
}

bool isDirectory(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Swaps two items in one step; where the file system cannot, the old one
// moves aside first and comes back if the new one cannot move in.
bool exchange(const std::string& a, const std::string& b) {
    if (renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_EXCHANGE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    const std::string aside = a + ".old";
    if (!FileOperations::moveNoReplace(b, aside))
        return false;
    if (FileOperations::moveNoReplace(a, b))
        return FileOperations::moveNoReplace(aside, a);
    FileOperations::moveNoReplace(aside, b);
    return false;
}

// A droplet, even one whose settings are damaged: a bundle folder whose
// program is the droplet program.
bool isDroplet(const std::string& path) {
    return isDirectory(path) && FileOperations::exists(path + "/Contents/Info.plist") &&
           fs::path(Bundle::executablePath(path)).filename() == "tessary-droplet";
}

// A hidden folder beside target to build the droplet in; empty when the
// folder cannot be written.
std::string makeStagingFolder(const std::string& target) {
    const fs::path path(target);
    std::string pattern = (path.parent_path() / ("." + path.filename().string() + ".XXXXXX"));
    if (!mkdtemp(pattern.data()))
        return {};
    // mkdtemp makes it private; the droplet gets a folder's usual mode.
    const mode_t mask = umask(0);
    umask(mask);
    chmod(pattern.c_str(), 0777 & ~mask);
    return pattern;
}

bool removeAll(const std::string& path) {
    std::error_code error;
    fs::remove_all(path, error); // links inside are removed, never followed
    return !error;
}
} // namespace

std::string MainController::dropletTemplatePath() {
    return Bundle::applicationResourceFolder() + "/Components/Tessary Droplet.app";
}

plist::Dictionary MainController::createDropletPropertyList() {
    const std::string location =
        applicationLocation_.empty() ? Bundle::applicationBundlePath() : applicationLocation_;
    return DropletSettingsFile::make(compositeAction_->getFlatParameterList(),
                                     globalSettings_->parameterList(),
                                     {location, kApplicationDomain, DefaultsKeys::dropletSettings});
}

// Written aside and moved over the old file: a failed write keeps it.
bool MainController::saveDropletSettingsToPath(const std::string& path) {
    std::error_code error;
    fs::create_directories(fs::path(path).parent_path(), error);
    if (!DropletSettingsFile::write(path, createDropletPropertyList())) {
        SystemLog::error("Cannot write the droplet settings " + path);
        return false;
    }
    return true;
}

// The cases: nothing at the target (the staged droplet moves in), a droplet
// at the target (the two are swapped in one step and the old one removed, so
// a failure at any point leaves one complete droplet), or anything else
// there (left alone: only droplets are replaced).
bool MainController::installDroplet(const std::string& staged, const std::string& target) {
    if (!FileOperations::exists(target))
        return FileOperations::moveNoReplace(staged, target);
    if (!exchange(staged, target))
        return false;
    if (!removeAll(staged))
        SystemLog::warning("The replaced droplet could not be removed completely: " + staged);
    return true;
}

void MainController::createDroplet() {
    if (!validateActionList())
        return;
    const DialogChoice answer = notices_.run(Notices::dropletInformation);
    if (answer == DialogChoice::Help)
        port_.openHelpPage(std::string(kHelpBase) + "creating-droplets.html");
    if (answer == DialogChoice::Help || answer == DialogChoice::Cancel)
        return;
    const auto chosen = port_.runBundleSavePanel("Save Droplet", "app", XdgPaths::home());
    if (!chosen)
        return;
    const std::string target = dropletPathFor(*chosen);
    if (FileOperations::exists(target) && !isDroplet(target)) {
        port_.runAlert({AlertStyle::Critical,
                        kCannotCreate,
                        target + " already exists and is not a droplet. It was left alone; please "
                                 "choose another name.",
                        {"OK"}});
        return;
    }
    const std::string staged = makeStagingFolder(target);
    std::error_code error;
    if (!staged.empty())
        fs::copy(dropletTemplatePath(), staged,
                 fs::copy_options::recursive | fs::copy_options::copy_symlinks, error);
    const bool made = !staged.empty() && !error &&
                      saveDropletSettingsToPath(DropletSettingsFile::pathInBundle(staged)) &&
                      installDroplet(staged, target);
    if (!made) {
        SystemLog::error("Cannot create the droplet " + target + " from " + dropletTemplatePath() +
                         (error ? ": " + error.message() : std::string()));
        if (!staged.empty())
            removeAll(staged);
        port_.runAlert({AlertStyle::Critical, kCannotCreate, kCannotCreateText, {"OK"}});
        return;
    }
    utimensat(AT_FDCWD, target.c_str(), nullptr, 0); // the droplet is new: dated now
    if (!DropletLauncherFile::write(target))
        SystemLog::warning("The droplet " + target + " has no launcher beside it");
    if (globalSettings_->shouldCreateSilentDroplets())
        port_.runAlert({AlertStyle::Informational, kSilentTitle, kSilentText, {"OK"}});
}

bool MainController::refuseDropletRecord(const std::string& text) {
    port_.runAlert({AlertStyle::Critical, kCannotUse, text, {"Quit"}});
    terminationRequested_ = true;
    port_.terminateApplication();
    return false;
}

// The record was removed from the domain when it was taken, so the next
// normal start is never taken for a droplet, whatever happens here.
bool MainController::readSettingsFromDroplet() {
    if (!dropletRecord_) {
        defaults_.synchronize();
        dropletRecord_ = DropletHandOver(defaults_, DefaultsKeys::dropletSettings).take();
    }
    if (!dropletRecord_)
        return true;
    const plist::Dictionary record = std::move(*dropletRecord_);
    dropletRecord_.reset();
    const plist::Value* chain = plist::find(record, DropletHandOver::kCompositeAction);
    if (!chain)
        return refuseDropletRecord(kPreReleaseText);
    // A chain that does not load would leave the first-start chain, which
    // must never rename the droplet's files.
    const plist::Value* steps = chain->asDictionary()
                                    ? plist::find(*chain->asDictionary(), "composite actions array")
                                    : nullptr;
    const Result<void> loaded = steps && steps->asArray() && !steps->asArray()->empty()
                                    ? compositeAction_->setFlatParameterList(*chain->asDictionary())
                                    : Result<void>(Failure{});
    if (!loaded) {
        SystemLog::error("A droplet handed over a chain that does not load: " + loaded.message());
        return refuseDropletRecord(kDamagedText);
    }
    if (const plist::Value* globals = plist::find(record, DropletHandOver::kGlobalSettings);
        globals && globals->asDictionary())
        globalSettings_->setParameterList(*globals->asDictionary());
    const plist::Value* path = plist::find(record, DropletHandOver::kSettingsPlistPath);
    dropletSettingsPath_ = path && path->asString() ? *path->asString() : std::string();
    const std::vector<std::string> files = DropletHandOver::fileList(record);
    if (files.empty()) {
        operationMode_ = DropletEdit;
        return true;
    }
    addFilePaths(files, true);
    operationMode_ = DropletRun;
    return true;
}

void MainController::showDropletEditModeInfo() {
    const DialogChoice answer = notices_.run(Notices::dropletEditInformation);
    if (answer == DialogChoice::Help)
        port_.openHelpPage(std::string(kHelpBase) + "editing-droplets.html");
    else if (answer == DialogChoice::Cancel)
        terminateWithFadeEffect();
}

void MainController::runDroplet() {
    if (operationMode_ != DropletRun)
        return;
    updateAll();
    applyCurrentSettings();
    terminationRequested_ = true;
    port_.terminateApplication();
}

// A droplet that cannot be written keeps its earlier settings, and the
// window stays open so that nothing edited is lost.
bool MainController::saveEditedDroplet() {
    updateAll();
    if (dropletSettingsPath_.empty() || !saveDropletSettingsToPath(dropletSettingsPath_)) {
        port_.runAlert({AlertStyle::Critical,
                        "The droplet could not be saved.",
                        "Morvane could not write the droplet's settings to \"" +
                            dropletSettingsPath_ + "\". The droplet keeps its earlier settings.",
                        {"OK"}});
        return false;
    }
    terminateWithFadeEffect();
    return true;
}

} // namespace morvane
