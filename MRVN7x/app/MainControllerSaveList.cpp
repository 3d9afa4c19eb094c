// Saving the current and new names of the whole list as a text file.
#include "MRVN7x/actions/sequence/SortBasedAction.h"
#include "MRVN7x/app/MainController.h"
#include "MRVN7x/lists/FileListWriter.h"
#include "platform/PathText.h"
#include "platform/SystemLog.h"

namespace morvane {

void MainController::createFileList() {
    if (!validateActionList())
        return;
    const SaveListOptions options = port_.runSaveListDialog();
    if (options.choice == DialogChoice::Help)
        port_.openHelpPage(std::string(kHelpBase) + "file-lists.html");
    if (options.choice != DialogChoice::Ok)
        return;
    const auto path = port_.runSavePanel("Save File List");
    if (!path)
        return;
    // Every item, not only those the preview shows.
    fileManager_->fixNow();
    dynamicFileList_->setApplyCutOff(false);
    dynamicFileList_->update();
    FileListWriter writer(options.layout);
    for (int i = 0; i < dynamicFileList_->count(); ++i) {
        const std::string item(dynamicFileList_->pathAtIndex(i));
        const std::u16string newName = getNewNameForFileAtPath(item);
        // The stored name, not its display form: a name with ":" always counts as changed.
        if (options.onlyAffectedFiles &&
            newName == PathText::fromUtf8(PathText::lastComponent(item)))
            continue;
        writer.add(item, newName);
    }
    // Written aside and moved into place: a failed write keeps the old file.
    if (!writer.writeTo(*path)) {
        SystemLog::error("Error!");
        port_.runAlert({AlertStyle::Critical,
                        "The file list could not be saved.",
                        "Morvane could not write " + *path + ".",
                        {"OK"}});
        return;
    }
    const bool sortBased =
        dynamic_cast<SortBasedAction*>(compositeAction_->getCurrentAction()) != nullptr;
    if (options.layout == 1 && !sortBased) {
        bool ignored = false;
        if (port_.runDontShowAgainDialog("Simple Template File List Information", ignored) ==
            DialogChoice::Help)
            port_.openHelpPage(std::string(kHelpBase) + "file-lists.html");
        return;
    }
    port_.runAlert(
        {AlertStyle::Informational, "The file list was successfully saved.", "", {"OK"}});
}

} // namespace morvane
