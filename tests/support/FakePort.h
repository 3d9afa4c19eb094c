#pragma once
// A scripted user: answers queued per kind of question, and a record of
// everything the logic showed. An unexpected question fails the test.
#include "MRVN7x/app/UserInterfacePort.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace morvane::test {

class FakePort : public UserInterfacePort {
public:
    FakePort() : mainThread(std::this_thread::get_id()) {}

    std::deque<int> alertAnswers;
    std::deque<std::pair<int, bool>> dontShowAgainAnswers; // choice, box ticked
    std::deque<RenameDialogAnswer> confirmationAnswers;
    std::deque<RenameDialogAnswer> conflictAnswers;
    std::deque<SaveListOptions> saveListAnswers;
    std::deque<std::optional<std::string>> savePanelAnswers;
    std::deque<std::optional<std::string>> bundleSavePanelAnswers;
    struct BundleSavePanel {
        std::string title, extension, folder;
    };
    std::vector<BundleSavePanel> bundleSavePanels;
    int terminations = 0;
    std::deque<std::optional<std::vector<std::string>>> openPanelAnswers;

    std::vector<Alert> alerts;
    std::vector<std::string> dontShowAgainDialogs;
    std::vector<RenameDialogRequest> confirmations;
    std::vector<RenameDialogRequest> conflicts;
    std::vector<std::string> helpPages;
    std::vector<ProgressDisplay> progress;
    int beeps = 0;
    bool progressShown = false, progressClosed = false;
    // Set when a call arrived on another thread than the one that made the port.
    bool calledFromAnotherThread = false;
    std::vector<std::string> unexpected;

    AlertAnswer runAlert(const Alert& alert) override;
    DialogChoice runDontShowAgainDialog(const std::string& windowResource,
                                        bool& dontShowAgain) override;
    RenameDialogAnswer runConfirmationDialog(const RenameDialogRequest& request) override;
    RenameDialogAnswer runConflictResolutionDialog(const RenameDialogRequest& request) override;
    SaveListOptions runSaveListDialog() override;
    std::optional<std::string> runSavePanel(const std::string& title) override;
    std::optional<std::string> runBundleSavePanel(const std::string& title,
                                                  const std::string& extension,
                                                  const std::string& folder) override;
    void terminateApplication() override { ++terminations; }
    std::optional<std::vector<std::string>> runOpenPanel(const std::string& title,
                                                         const std::string& prompt,
                                                         const std::string& folder) override;
    void beep() override;
    void openHelpPage(const std::string& address) override;
    void showProgress(const ProgressDisplay& display) override;
    void updateProgress(const ProgressDisplay& display) override;
    void closeProgress() override;
    EventLoopHost* eventLoopHost() override { return host; }
    void renamingProgress(std::size_t done, std::size_t total) override {
        renamingReports.emplace_back(done, total);
        if (onRenamingProgress)
            onRenamingProgress(done, total);
    }

    void previewProgress(std::size_t done, std::size_t total) override {
        previewReports.emplace_back(done, total);
        if (onPreviewProgress)
            onPreviewProgress(done, total);
    }

    EventLoopHost* host = nullptr;
    std::vector<std::pair<std::size_t, std::size_t>> previewReports;
    std::function<void(std::size_t, std::size_t)> onPreviewProgress;
    std::vector<std::pair<std::size_t, std::size_t>> renamingReports;
    std::function<void(std::size_t, std::size_t)> onRenamingProgress;

    std::vector<std::string> alertTitles() const;

private:
    void checkThread();
    std::thread::id mainThread;
};

} // namespace morvane::test
