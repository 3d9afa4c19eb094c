#include "cli/TerminalPort.h"

#include "MRVN7x/app/GenericDontShowAgainDialogController.h"
#include "platform/PathText.h"

#include <cstring>

namespace morvane::cli {

TerminalPort::TerminalPort(bool interactive, std::FILE* in, std::FILE* out)
    : interactive_(interactive), in_(in), out_(out) {}

int TerminalPort::runAlert(const Alert& alert) {
    if (onAlert)
        onAlert(alert);
    return 1; // the default button: go on
}

int TerminalPort::runDontShowAgainDialog(const std::string& windowResource, bool& dontShowAgain) {
    dontShowAgain = false;
    if (windowResource == Notices::conflicts.windowResource)
        return conflictsDialogAnswer;
    return 1;
}

RenameDialogAnswer TerminalPort::ask(const char* question, const RenameDialogRequest& request) {
    const auto& context = request.context;
    for (;;) {
        std::fprintf(out_, "%s\n  %s\n  -> %s\n[y]es, [n]o, [a]ll, [q]uit, [e]dit? ", question,
                     context.fullPath.c_str(), toU8(context.newName).c_str());
        std::fflush(out_);
        char line[4096];
        if (!std::fgets(line, sizeof line, in_))
            return {RenameChoice::SkipAll, context.newName};
        switch (line[0]) {
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
            if (!std::fgets(line, sizeof line, in_))
                return {RenameChoice::SkipAll, context.newName};
            line[std::strcspn(line, "\n")] = '\0';
            return {RenameChoice::Rename, toU16(line)};
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

void TerminalPort::drawBar(const ProgressDisplay& display) {
    if (!showProgressBar)
        return;
    constexpr int width = 30;
    const int filled =
        display.determinate && display.maximum > 0
            ? static_cast<int>(static_cast<long long>(width) * display.value / display.maximum)
            : 0;
    std::string bar(static_cast<size_t>(filled), '#');
    bar.resize(width, display.determinate ? '.' : ' ');
    std::fprintf(out_, "\r\033[K%s [%s] %s", display.status3.c_str(), bar.c_str(),
                 display.status1.c_str());
    std::fflush(out_);
    barDrawn_ = true;
}

void TerminalPort::showProgress(const ProgressDisplay& display) {
    drawBar(display);
}
void TerminalPort::updateProgress(const ProgressDisplay& display) {
    drawBar(display);
}

void TerminalPort::closeProgress() {
    if (barDrawn_)
        std::fprintf(out_, "\r\033[K");
    barDrawn_ = false;
}

} // namespace morvane::cli
