#pragma once
// The application-wide settings, kept as the parameters of a pseudo action so
// that they are saved, loaded, observed and carried in droplets like every
// action's parameters. It is never run as a rename step.
#include "MRVN7x/actions/BaseAction.h"

namespace morvane {

class MainController;

class MRVNGlobalPreferencesPseudoAction : public BaseAction {
public:
    static constexpr const char* kActionName = "MRVN global settings";
    std::string actionName() const override { return kActionName; }
    plist::Dictionary defaultParameters() const override;
    bool getPreviewActive() const { return true; }

    void setMainController(MainController* controller) { mainController_ = controller; }
    MainController* mainController() const { return mainController_; }

    int getPreviewPaneWidthAsInt() const;
    void setPreviewPaneWidthAsInt(int width);
    int getPreviewModeAsInt() const;
    void setPreviewModeAsInt(int mode);
    bool shouldCreateSilentDroplets() const;
    std::string lastAddDirectory() const;
    void setLastAddDirectory(const std::string& folder); // does not notify
    int getInteractionMode() const;
    bool shouldQuitAfterRename() const;
    bool shouldUseFadeOutEffect() const;
    void setUseFadeOutEffect(bool use); // does not notify
    bool getShowSummary() const;
    int getRenameMode() const;
    bool shouldShowPath() const;
    bool shouldShowCurrentName() const;
    bool shouldProcessFiles() const;
    void setShouldProcessFiles(bool process);
    bool shouldProcessFolders() const;
    void setShouldProcessFolders(bool process);
    bool shouldProcessSubfolders() const;
    void setShouldProcessSubfolders(bool process);
    bool shouldShowMultistepDrawer() const;
    void setShowMultistepDrawer(bool show);

    // The help page about the rename mechanisms.
    static constexpr const char* kRenameModeHelpAddress =
        "https://www.halvard.net/morvane/help/rename-modes.html";

private:
    MainController* mainController_ = nullptr;
};

} // namespace morvane
