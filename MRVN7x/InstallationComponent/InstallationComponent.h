#pragma once
// One companion component that a bundle carries in its resources and that is
// copied into a folder of the user's: installed, upgraded to a newer copy,
// removed, started. Every operation answers its success; nothing throws.
#include "platform/Result.h"

#include <string>
#include <vector>

namespace morvane {

class InstallationComponent {
public:
    static constexpr const char* kSourceNotFound =
        "Installation component bundle location not found!";
    static constexpr const char* kInstalledNotFound =
        "Installation component cannot find the installed component bundle!";

    // The carrying bundle is the application's own until setBundle.
    InstallationComponent();

    // A bundle folder ("X.prefPane"): its Contents/Resources then hold the component.
    void setBundle(const std::string& bundlePath);
    // Where the component goes; "~" and the user's Library folders are mapped
    // to this system's folders (XdgPaths::libraryPath).
    void setInstallationLocation(const std::string& path);
    void setLocationWithinResourceBundle(const std::string& relativePath);
    // Scripts inside the component (relative to it) that place and remove
    // what it brings beyond its own folder, run with /bin/sh and judged by
    // exit status: the installer after the copy (with arguments), the
    // uninstaller before the folder goes. A component without them needs none.
    void setScripts(const std::string& installer, const std::string& uninstaller,
                    const std::vector<std::string>& installerArguments = {});

    const std::string& installationLocation() const { return installationLocation_; }
    // The carrying bundle's resource folder joined with the relative location.
    std::string sourcePath() const;
    // installationLocation joined with the last component of sourcePath;
    // empty when the relative location names no item.
    std::string installedPath() const;

    // 0 when path is a folder already or was made (new folders get mode
    // 0755, less what the umask removes); otherwise an errno value.
    static int createDirectoryPath(const std::string& path);

    // Copies the component into the installation location. The copy is made
    // under a temporary name and renamed into place, so a failed copy leaves
    // nothing that looks installed; an item already there is never replaced.
    // Then runs the installer; when it fails the copy is removed again.
    bool install() const;
    bool isAlreadyInstalled() const;
    // Installed, and its numeric bundle version is lower than the copy's. A
    // missing copy or installed bundle is an internal error: logged, and the
    // failure's message.
    Result<bool> needsUpgrading() const;
    bool performUpgrade() const;
    // Runs the uninstaller, then removes exactly the installed item and what
    // is inside it; symbolic links are removed, never followed. A failed
    // uninstaller keeps the item (its record of what it placed with it).
    // True when nothing is installed.
    bool uninstall() const;
    // Starts the installed application.
    bool launch() const;

private:
    std::string resourceFolder_;
    std::string installationLocation_;
    std::string relativeLocation_;
    std::string installer_;
    std::string uninstaller_;
    std::vector<std::string> installerArguments_;

    // /bin/sh installedPath/script arguments; true when the component has no
    // such script.
    bool runScript(const std::string& script, const std::vector<std::string>& arguments) const;
};

} // namespace morvane
