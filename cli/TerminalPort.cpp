#include "cli/TerminalPort.h"

#include "MRVN7x/app/GenericDontShowAgainDialogController.h"
#include "platform/PathText.h"

#include <cstring>

namespace morvane::cli {

namespace {
constexpr const char* kRenamingPhase = "Renaming..";
constexpr auto kRedrawInterval = std::chrono::milliseconds(50); // 20 redraws a second
// Label, bar and counts stay within 79 columns, so an 80-column terminal never wraps.
constexpr int kBarWidth = 30;
constexpr size_t kLineWidth = 79;
} // namespace

TerminalPort::TerminalPort(bool interactive, std::FILE* in, std::FILE* out)
    : interactive_(interactive), in_(in), out_(out) {}

AlertAnswer TerminalPort::runAlert(const Alert& alert) {
    if (onAlert)
        onAlert(alert);
    return AlertAnswer::First; // the default button: go on
}

DialogChoice TerminalPort::runDontShowAgainDialog(const std::string& windowResource,
                                                  bool& dontShowAgain) {
    dontShowAgain = false;
    if (windowResource == Notices::conflicts.windowResource)
        return conflictsDialogAnswer;
    if (windowResource == Notices::noFilesSelected.windowResource && onAlert) {
        onAlert({AlertStyle::Warning,
                 "There are no items to rename.",
                 "No file or folder of the list passes the settings \"processFiles\", "
                 "\"processFolders\" and \"processSubfolders\".",
                 {"OK"}});
    }
    if (windowResource == Notices::inconsistentSettings.windowResource) {
        if (onAlert)
            onAlert({AlertStyle::Warning,
                     "Neither files nor folders are to be renamed.",
                     "The settings \"processFiles\" and \"processFolders\" are both 0; set at "
                     "least one of them to 1.",
                     {"OK"}});
        return DialogChoice::Cancel; // the settings stay as they were given
    }
    return DialogChoice::Ok;
}

std::optional<std::string> TerminalPort::readLine() {
    std::string line;
    for (int c = std::fgetc(in_); c != EOF; c = std::fgetc(in_)) {
        if (c == '\n')
            return line;
        line += static_cast<char>(c);
    }
    if (line.empty())
        return std::nullopt;
    return line;
}

bool TerminalPort::confirmConflicts() {
    for (;;) {
        std::fprintf(out_, "Go ahead anyway? The first item renamed takes the name, the others "
                           "are skipped. [y]es, [n]o? ");
        std::fflush(out_);
        auto line = readLine();
        if (!line)
            return false;
        if (!line->empty() && ((*line)[0] == 'y' || (*line)[0] == 'n'))
            return (*line)[0] == 'y';
    }
}

RenameDialogAnswer TerminalPort::ask(const char* question, const RenameDialogRequest& request) {
    const auto& context = request.context;
    for (;;) {
        std::fprintf(out_, "%s\n  %s\n  -> %s\n[y]es, [n]o, [a]ll, [q]uit, [e]dit? ", question,
                     context.fullPath.c_str(), toU8(context.newName).c_str());
        std::fflush(out_);
        auto line = readLine();
        if (!line)
            return {RenameChoice::SkipAll, context.newName};
        switch (line->empty() ? '\0' : (*line)[0]) {
        case 'y':
            return {RenameChoice::Rename, context.newName};
        case 'n':
            return {RenameChoice::Skip, context.newName};
        case 'a':
            return {RenameChoice::RenameAll, context.newName};
        case 'q':
            return {RenameChoice::SkipAll, context.newName};
        case 'e': {
            std::fprintf(out_, "New name: ");
            std::fflush(out_);
            auto name = readLine();
            if (!name)
                return {RenameChoice::SkipAll, context.newName};
            if (name->empty())
                break; // no name: ask again
            return {RenameChoice::Rename, PathText::fromUtf8(*name)};
        }
        default:
            break;
        }
    }
}

RenameDialogAnswer TerminalPort::runConfirmationDialog(const RenameDialogRequest& request) {
    if (!interactive_)
        return {RenameChoice::Rename, request.context.newName};
    return ask("Rename?", request);
}

RenameDialogAnswer TerminalPort::runConflictResolutionDialog(const RenameDialogRequest& request) {
    if (!interactive_)
        return {RenameChoice::Skip, request.context.newName};
    return ask("An item with the new name already exists. Rename under another name?", request);
}

SaveListOptions TerminalPort::runSaveListDialog() {
    return saveListOptions;
}

std::optional<std::string> TerminalPort::runSavePanel(const std::string&) {
    if (savePath.empty())
        return std::nullopt;
    return savePath;
}

std::optional<std::vector<std::string>>
TerminalPort::runOpenPanel(const std::string&, const std::string&, const std::string&) {
    return std::nullopt;
}

void TerminalPort::openHelpPage(const std::string& address) {
    std::fprintf(out_, "Help: %s\n", address.c_str());
}

namespace {
// A short label for each phase of the run, so that the line fits 80 columns.
std::string phaseLabel(const ProgressDisplay& display) {
    if (display.status3 == kRenamingPhase)
        return "Renaming (5/5)";
    switch (display.phase) {
    case 1:
        return "Scanning (1/5)";
    case 2:
        return "New names (2/5)";
    case 3:
        return "Ordering (3/5)";
    default:
        return "Cleaning up (4/5)";
    }
}
} // namespace

void TerminalPort::drawBar(const ProgressDisplay& display) {
    if (!showProgressBar)
        return;
    const auto now = std::chrono::steady_clock::now();
    const bool newPhase = display.status3 != lastPhase_;
    const bool last = display.determinate && display.value >= display.maximum;
    if (!newPhase && !last && now - lastDraw_ < kRedrawInterval)
        return;
    lastDraw_ = now;
    lastPhase_ = display.status3;
    const int filled =
        display.determinate && display.maximum > 0
            ? static_cast<int>(static_cast<long long>(kBarWidth) * display.value / display.maximum)
            : 0;
    std::string bar(static_cast<size_t>(filled), '#');
    bar.resize(kBarWidth, display.determinate ? '.' : ' ');
    std::string label = phaseLabel(display);
    label.resize(17, ' ');
    std::string line = label + " [" + bar + "] " + display.status1;
    if (line.size() > kLineWidth) // the counts are ASCII: bytes are columns
        line.resize(kLineWidth);
    std::fprintf(out_, "\r\033[K%s", line.c_str());
    std::fflush(out_);
    barDrawn_ = true;
}

void TerminalPort::showProgress(const ProgressDisplay& display) {
    drawBar(display);
}
void TerminalPort::updateProgress(const ProgressDisplay& display) {
    drawBar(display);
}

void TerminalPort::showRenameProgress(size_t done, size_t total) {
    // Called for every item: the redraw limit is checked before anything is built.
    if (!showProgressBar || (lastPhase_ == kRenamingPhase && done < total &&
                             std::chrono::steady_clock::now() - lastDraw_ < kRedrawInterval))
        return;
    ProgressDisplay display;
    display.determinate = true;
    display.value = static_cast<int>(done);
    display.maximum = static_cast<int>(total);
    display.status3 = kRenamingPhase;
    display.status1 = std::to_string(done) + " of " + std::to_string(total) + " items";
    drawBar(display);
}

void TerminalPort::closeProgress() {
    if (barDrawn_)
        std::fprintf(out_, "\r\033[K");
    barDrawn_ = false;
}

} // namespace morvane::cli
