#pragma once
// The application port for a terminal. Without --interactive nobody is asked
// anything: every question gets the answer that lets a script go on safely
// (the default button, skip on an existing file). With it, the confirmation
// and conflict dialogs become prompts on the terminal. Notices that stop a run
// (no files, inconsistent settings) are handed to onAlert like alerts.
#include "MRVN7x/app/UserInterfacePort.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

namespace morvane::cli {

class TerminalPort : public UserInterfacePort {
public:
    TerminalPort(bool interactive, std::FILE* in = stdin, std::FILE* out = stderr);

    AlertAnswer runAlert(const Alert& alert) override;
    DialogChoice runDontShowAgainDialog(const std::string& windowResource,
                                        bool& dontShowAgain) override;
    RenameDialogAnswer runConfirmationDialog(const RenameDialogRequest& request) override;
    RenameDialogAnswer runConflictResolutionDialog(const RenameDialogRequest& request) override;
    SaveListOptions runSaveListDialog() override;
    std::optional<std::string> runSavePanel(const std::string& title) override;
    std::optional<std::vector<std::string>> runOpenPanel(const std::string& title,
                                                         const std::string& prompt,
                                                         const std::string& folder) override;
    void beep() override {}
    void openHelpPage(const std::string& address) override;
    void showProgress(const ProgressDisplay& display) override;
    void updateProgress(const ProgressDisplay& display) override;
    void closeProgress() override;
    // The bar of the renaming itself, after the phases of the batch.
    void showRenameProgress(size_t done, size_t total);
    // Asks whether to go ahead although items would get the same name.
    bool confirmConflicts();

    // Answers for the questions the command itself settles.
    // "Conflicts Detected Dialog": Ok goes ahead.
    DialogChoice conflictsDialogAnswer = DialogChoice::Cancel;
    SaveListOptions saveListOptions; // what save-list was told on the command line
    std::string savePath;            // the --output of save-list
    bool showProgressBar = false;    // a terminal and a long list
    // Called for every alert, so the command can report it (stderr, JSON).
    std::function<void(const Alert&)> onAlert;

private:
    RenameDialogAnswer ask(const char* question, const RenameDialogRequest& request);
    void drawBar(const ProgressDisplay& display);
    // A line of the terminal; nothing at the end of the input.
    std::optional<std::string> readLine();

    bool interactive_;
    std::FILE* in_;
    std::FILE* out_;
    bool barDrawn_ = false;
    // Redraws are limited to 20 a second; a new phase is always drawn.
    std::chrono::steady_clock::time_point lastDraw_;
    std::string lastPhase_;
};

} // namespace morvane::cli
