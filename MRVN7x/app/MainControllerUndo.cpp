// "Undo Last Rename": the newest journalled run, reversed under the run lock
// by the same rules as morvane-cli undo, with a question before and a summary
// after.
#include "MRVN7x/app/MainController.h"

#include <ctime>

namespace morvane {
namespace {
std::string whenText(std::int64_t created) {
    const std::time_t time = static_cast<std::time_t>(created);
    std::tm local{};
    char text[64] = "";
    if (localtime_r(&time, &local))
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

std::string itemsText(size_t count) {
    return count == 1 ? "1 item" : std::to_string(count) + " items";
}

Alert summaryOf(const UndoResult& result) {
    Alert alert{AlertStyle::Informational, {}, {}, {"OK"}};
    switch (result.status) {
    case UndoResult::Status::Complete:
        alert.title = itemsText(result.restored) + " got their names back.";
        if (result.restored == 1)
            alert.title = "1 item got its name back.";
        break;
    case UndoResult::Status::Incomplete:
        alert.style = AlertStyle::Warning;
        alert.title = "The rename could not be undone completely.";
        alert.text = itemsText(result.restored) + " got their names back. These were left as "
                                                  "they are:\n";
        for (size_t i = 0; i < result.problems.size() && i < 10; ++i)
            alert.text += "\n" + result.problems[i].second;
        if (result.problems.size() > 10)
            alert.text += "\n… and " + std::to_string(result.problems.size() - 10) + " more.";
        break;
    case UndoResult::Status::NothingToUndo:
        alert.title = "There is no rename to undo.";
        break;
    default:
        alert.style = AlertStyle::Warning;
        alert.title = "Nothing was undone.";
        alert.text = result.message;
    }
    return alert;
}
} // namespace

bool MainController::canUndoLastRun() const {
    return !isRunInProgress() && UndoService(journalFolder()).canUndo();
}

void MainController::undoLastRun() {
    if (isRunInProgress()) {
        port_.beep();
        return;
    }
    UndoService undo(journalFolder());
    const auto run = undo.newestUndoableRun();
    if (!run) {
        port_.runAlert(summaryOf({}));
        return;
    }
    const AlertAnswer answer = port_.runAlert(
        {AlertStyle::Informational,
         "Undo the rename of " + whenText(run->created) + "?",
         "The " + itemsText(run->doneCount()) +
             " it renamed get their names back, wherever that is still possible. Nothing "
             "is overwritten.",
         {"Undo", "Cancel"}});
    if (answer != AlertAnswer::First)
        return;
    const UndoResult result = undo.undo(run->runId);
    port_.runAlert(summaryOf(result));
    // The items in the list may have their old names again.
    updateAll();
    initiateDelayedPreviewUpdate();
}

} // namespace morvane
