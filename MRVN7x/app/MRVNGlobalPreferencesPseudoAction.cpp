#include "MRVN7x/app/MRVNGlobalPreferencesPseudoAction.h"

#include "platform/SystemVersion.h"
#include "platform/XdgPaths.h"

namespace morvane {

plist::Dictionary MRVNGlobalPreferencesPseudoAction::defaultParameters() const {
    auto params = BaseAction::defaultParameters();
    params["lastAddDirectory"] = plist::Value(XdgPaths::home());
    params["useFadeOutEffect"] = plist::Value(1);
    params["quitAfterRename"] = plist::Value(0);
    params["processFiles"] = plist::Value(1);
    params["processFolders"] = plist::Value(1);
    params["processSubfolders"] = plist::Value(0);
    params["previewPaneWidth"] = plist::Value(450);
    params["previewMode"] = plist::Value(0);
    params["discloseAdvancedOptions"] = plist::Value(0);
    params["renameMode"] = plist::Value(SystemVersion::isLeopard() ? 3 : 0);
    params["showCurrentName"] = plist::Value(1);
    params["showPath"] = plist::Value(0);
    params["interactiveMode"] = plist::Value(1);
    params["showSummary"] = plist::Value(1);
    params["multistep"] = plist::Value(0);
    params["silentDroplet"] = plist::Value(0);
    return params;
}

// Getters without a fallback in the settings table read 0 for a missing key.
int MRVNGlobalPreferencesPseudoAction::getPreviewPaneWidthAsInt() const {
    return getParamInt("previewPaneWidth", 0);
}
void MRVNGlobalPreferencesPseudoAction::setPreviewPaneWidthAsInt(int width) {
    setValueForKey("previewPaneWidth", plist::Value(width));
}
int MRVNGlobalPreferencesPseudoAction::getPreviewModeAsInt() const {
    return getParamInt("previewMode", 0);
}
void MRVNGlobalPreferencesPseudoAction::setPreviewModeAsInt(int mode) {
    setValueForKey("previewMode", plist::Value(mode));
}
bool MRVNGlobalPreferencesPseudoAction::shouldCreateSilentDroplets() const {
    return getParamInt("silentDroplet", 0) != 0;
}
std::string MRVNGlobalPreferencesPseudoAction::lastAddDirectory() const {
    return getParamString("lastAddDirectory");
}
void MRVNGlobalPreferencesPseudoAction::setLastAddDirectory(const std::string& folder) {
    dictionary()["lastAddDirectory"] = plist::Value(folder);
}
int MRVNGlobalPreferencesPseudoAction::getInteractionMode() const {
    return getParamInt("interactiveMode", 0);
}
bool MRVNGlobalPreferencesPseudoAction::shouldQuitAfterRename() const {
    return getParamInt("quitAfterRename", 0) != 0;
}
bool MRVNGlobalPreferencesPseudoAction::shouldUseFadeOutEffect() const {
    return getParamInt("useFadeOutEffect", 0) != 0;
}
void MRVNGlobalPreferencesPseudoAction::setUseFadeOutEffect(bool use) {
    dictionary()["useFadeOutEffect"] = plist::Value(use ? 1 : 0);
}
bool MRVNGlobalPreferencesPseudoAction::getShowSummary() const {
    return getParamInt("showSummary", 0) != 0;
}
int MRVNGlobalPreferencesPseudoAction::getRenameMode() const {
    return getParamInt("renameMode", 0);
}
bool MRVNGlobalPreferencesPseudoAction::shouldShowPath() const {
    return getParamInt("showPath", 0) != 0;
}
bool MRVNGlobalPreferencesPseudoAction::shouldShowCurrentName() const {
    return getParamInt("showCurrentName", 1) != 0;
}
bool MRVNGlobalPreferencesPseudoAction::shouldProcessFiles() const {
    return getParamInt("processFiles", 1) != 0;
}
void MRVNGlobalPreferencesPseudoAction::setShouldProcessFiles(bool process) {
    setValueForKey("processFiles", plist::Value(process ? 1 : 0));
}
bool MRVNGlobalPreferencesPseudoAction::shouldProcessFolders() const {
    return getParamInt("processFolders", 1) != 0;
}
void MRVNGlobalPreferencesPseudoAction::setShouldProcessFolders(bool process) {
    setValueForKey("processFolders", plist::Value(process ? 1 : 0));
}
bool MRVNGlobalPreferencesPseudoAction::shouldProcessSubfolders() const {
    return getParamInt("processSubfolders", 0) != 0;
}
void MRVNGlobalPreferencesPseudoAction::setShouldProcessSubfolders(bool process) {
    setValueForKey("processSubfolders", plist::Value(process ? 1 : 0));
}
bool MRVNGlobalPreferencesPseudoAction::shouldShowMultistepDrawer() const {
    return getParamInt("multistep", 0) != 0;
}
void MRVNGlobalPreferencesPseudoAction::setShowMultistepDrawer(bool show) {
    setValueForKey("multistep", plist::Value(show ? 1 : 0));
}

} // namespace morvane
