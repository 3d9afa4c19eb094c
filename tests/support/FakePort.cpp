#include "tests/support/FakePort.h"

namespace morvane::test {
namespace {
template <class T>
T next(std::deque<T>& answers, std::vector<std::string>& unexpected, const std::string& what,
       T fallback) {
    if (answers.empty()) {
        unexpected.push_back(what);
        return fallback;
    }
    T answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}
} // namespace

void FakePort::checkThread() {
    if (std::this_thread::get_id() != mainThread)
        calledFromAnotherThread = true;
}

AlertAnswer FakePort::runAlert(const Alert& alert) {
    checkThread();
    alerts.push_back(alert);
    return static_cast<AlertAnswer>(next(alertAnswers, unexpected, "alert: " + alert.title, 1));
}

DialogChoice FakePort::runDontShowAgainDialog(const std::string& windowResource,
                                              bool& dontShowAgain) {
    checkThread();
    dontShowAgainDialogs.push_back(windowResource);
    auto [choice, ticked] =
        next(dontShowAgainAnswers, unexpected, "dialog: " + windowResource, std::pair(1, false));
    dontShowAgain = ticked;
    return static_cast<DialogChoice>(choice);
}

RenameDialogAnswer FakePort::runConfirmationDialog(const RenameDialogRequest& request) {
    checkThread();
    confirmations.push_back(request);
    return next(confirmationAnswers, unexpected, "confirmation",
                RenameDialogAnswer{RenameChoice::SkipAll, {}});
}

RenameDialogAnswer FakePort::runConflictResolutionDialog(const RenameDialogRequest& request) {
    checkThread();
    conflicts.push_back(request);
    return next(conflictAnswers, unexpected, "conflict",
                RenameDialogAnswer{RenameChoice::SkipAll, {}});
}

SaveListOptions FakePort::runSaveListDialog() {
    checkThread();
    return next(saveListAnswers, unexpected, "save list dialog", SaveListOptions{});
}

std::optional<std::string> FakePort::runSavePanel(const std::string& title) {
    checkThread();
    return next(savePanelAnswers, unexpected, "save panel: " + title, std::optional<std::string>());
}

std::optional<std::string> FakePort::runBundleSavePanel(const std::string& title,
                                                        const std::string& extension,
                                                        const std::string& folder) {
    checkThread();
    bundleSavePanels.push_back({title, extension, folder});
    return next(bundleSavePanelAnswers, unexpected, "bundle save panel: " + title,
                std::optional<std::string>());
}

std::optional<std::vector<std::string>>
FakePort::runOpenPanel(const std::string& title, const std::string&, const std::string&) {
    checkThread();
    return next(openPanelAnswers, unexpected, "open panel: " + title,
                std::optional<std::vector<std::string>>());
}

void FakePort::beep() {
    checkThread();
    ++beeps;
}

void FakePort::openHelpPage(const std::string& address) {
    checkThread();
    helpPages.push_back(address);
}

void FakePort::showProgress(const ProgressDisplay& display) {
    checkThread();
    progressShown = true;
    progress.push_back(display);
}

void FakePort::updateProgress(const ProgressDisplay& display) {
    checkThread();
    progress.push_back(display);
}

void FakePort::closeProgress() {
    checkThread();
    progressClosed = true;
}

std::vector<std::string> FakePort::alertTitles() const {
    std::vector<std::string> titles;
    for (const auto& alert : alerts)
        titles.push_back(alert.title);
    return titles;
}

} // namespace morvane::test
