// A droplet's hand-over record (XML or binary property list) as the window
// takes it at launch. No crash; only a record whose chain loads with steps
// may make a droplet run, and then with the droplet's chain, never the
// first-start one.
#include "MRVN7x/actions/ActionList.h"
#include "MRVN7x/app/MainController.h"
#include "fuzz/FuzzSupport.h"

using namespace morvane;

namespace {
// A user who answers every question with its first choice.
class QuietPort : public UserInterfacePort {
public:
    AlertAnswer runAlert(const Alert&) override { return AlertAnswer::First; }
    DialogChoice runDontShowAgainDialog(const std::string&, bool&) override {
        return DialogChoice::Ok;
    }
    RenameDialogAnswer runConfirmationDialog(const RenameDialogRequest&) override { return {}; }
    RenameDialogAnswer runConflictResolutionDialog(const RenameDialogRequest&) override {
        return {};
    }
    SaveListOptions runSaveListDialog() override { return {}; }
    std::optional<std::string> runSavePanel(const std::string&) override { return {}; }
    std::optional<std::vector<std::string>> runOpenPanel(const std::string&, const std::string&,
                                                         const std::string&) override {
        return {};
    }
    void beep() override {}
    void openHelpPage(const std::string&) override {}
    void showProgress(const ProgressDisplay&) override {}
    void updateProgress(const ProgressDisplay&) override {}
    void closeProgress() override {}
};
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::setUpPrivateHome();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto value = plist::fromBytes({reinterpret_cast<const char*>(data), size});
    if (!value || !value->asDictionary())
        return 0;
    plist::Dictionary record = *value->asDictionary();
    // Whatever paths the input names, the list holds one scratch file.
    if (auto files = record.find("file list");
        files != record.end() && files->second.asArray() && !files->second.asArray()->empty())
        files->second = plist::Array{fuzz::writeScratchFile("dropped.txt", "x")};
    UserDefaults defaults("net.halvard.mrvn7", fuzz::scratchFolder() + "/prefs");
    ActionList registry(defaults);
    QuietPort port;
    MainController controller(port, defaults, registry);
    controller.setApplicationLocation("/nonexistent/Morvane 7.app");
    controller.setDropletRecord(record);
    controller.applicationDidFinishLaunching();
    if (controller.operationMode() == MainController::DropletRun &&
        controller.terminationRequested())
        fuzz::fail("a droplet run after the record was refused");
    if (controller.operationMode() != MainController::Normal &&
        controller.compositeAction().count() == 0)
        fuzz::fail("a droplet mode without steps");
    return 0;
}
