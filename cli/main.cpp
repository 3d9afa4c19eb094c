// morvane-cli: the renamer from the command line, over the same application
// logic as the windows (preview, chain check, ordering and the run itself).
#include "MRVN7x/actions/ActionFactory.h"
#include "MRVN7x/actions/ActionList.h"
#include "MRVN7x/app/ApplicationDefaults.h"
#include "MRVN7x/app/MRVNGlobalPreferencesPseudoAction.h"
#include "MRVN7x/app/MainController.h"
#include "MRVN7x/app/RunJournal.h"
#include "MRVN7x/app/UndoService.h"
#include "MRVN7x/engine/FileManager.h"
#include "MRVN7x/engine/RenameJournal.h"
#include "MorvaneVersion.h"
#include "cli/ActionHelp.h"
#include "cli/ChainBuilder.h"
#include "cli/ChunkedOutput.h"
#include "cli/CommandLine.h"
#include "cli/Json.h"
#include "cli/PreviewTable.h"
#include "cli/RunReport.h"
#include "cli/TerminalPort.h"
#include "platform/LargeBlocks.h"
#include "platform/PathText.h"
#include "platform/SystemLog.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

using namespace morvane;
using namespace morvane::cli;

namespace {

int usageError(const std::string& reason) {
    std::fprintf(stderr, "morvane-cli: %s\nTry 'morvane-cli --help'.\n", reason.c_str());
    return 2;
}

// A preferences domain in a private temporary folder: steps start from their
// defaults and nothing the application saved is read or written.
struct PrivateDefaults {
    std::string folder;
    std::unique_ptr<UserDefaults> defaults;
    PrivateDefaults() {
        std::error_code error; // a TMPDIR that does not exist is no exception
        std::filesystem::path temporary = std::filesystem::temp_directory_path(error);
        std::string pattern =
            (error ? std::filesystem::path("/tmp") : temporary) / "morvane-cli-XXXXXX";
        if (mkdtemp(pattern.data())) {
            folder = pattern;
            defaults = std::make_unique<UserDefaults>(kApplicationDomain, folder);
        }
    }
    ~PrivateDefaults() {
        defaults.reset();
        std::error_code ignored;
        if (!folder.empty())
            std::filesystem::remove_all(folder, ignored);
    }
};

// The private domain of this invocation, made in main before any command, and its folder.
UserDefaults* privateDefaults = nullptr;
std::string privateFolder;

std::string absolutePath(const std::string& path) {
    std::string absolute =
        path[0] == '/' ? path : std::filesystem::current_path().string() + "/" + path;
    while (absolute.size() > 1 && absolute.back() == '/')
        absolute.pop_back();
    return std::filesystem::path(absolute).lexically_normal().string();
}

void printAlert(const Alert& alert, std::FILE* out) {
    std::fprintf(out, "%s\n", alert.title.c_str());
    if (!alert.text.empty())
        std::fprintf(out, "%s\n", alert.text.c_str());
}

// The controller, its port and the chain of one invocation.
struct Session {
    ActionList registry{*privateDefaults};
    TerminalPort port;
    MainController controller;
    std::vector<Alert> alerts;

    // A rename asks for confirmation only with --interactive; --global
    // "interactiveMode" may still change that (applied later, in prepare).
    explicit Session(bool interactive)
        : port(interactive), controller(port, *privateDefaults, registry) {
        port.onAlert = [this](const Alert& alert) { alerts.push_back(alert); };
        controller.applicationDidFinishLaunching();
        controller.globalSettings().setValueForKey("interactiveMode",
                                                   plist::Value(interactive ? 1 : 0));
    }

    // Builds the chain and settings, adds the paths; false (exit 2) on usage errors.
    int prepare(const Invocation& inv) {
        ChainBuilder builder(controller, registry);
        Result<void> built = builder.build(inv);
        if (built)
            built = builder.applyGlobals(inv.globals);
        if (!built)
            return usageError(built.message());
        int refused = 0;
        for (const auto& arg : inv.arguments) {
            switch (controller.addFilePath(absolutePath(arg))) {
            case MainController::PathAddition::Added:
                continue;
            case MainController::PathAddition::Missing:
                std::fprintf(stderr, "morvane-cli: %s: no such file or folder\n", arg.c_str());
                break;
            case MainController::PathAddition::Covered:
                std::fprintf(stderr,
                             "morvane-cli: %s: not added, it is or lies in a folder already in "
                             "the list\n",
                             arg.c_str());
                break;
            }
            ++refused;
        }
        refusedPaths = refused;
        return -1;
    }

    // The preview over the whole list (or cut off like the window's).
    void preview(bool cutoff) {
        controller.dynamicFileList().setApplyCutOff(cutoff);
        controller.updatePreview(); // reads the list once, with the settings of the chain
    }

    int refusedPaths = 0;
};

int commandPreview(const Invocation& inv) {
    Session session(false);
    if (int status = session.prepare(inv); status >= 0)
        return status;
    session.preview(inv.cutoff);
    const auto& entries = session.controller.previewEntries();
    const std::vector<bool> taken = takenNewNames(entries);
    if (inv.json) {
        ChunkedOutput out(stdout);
        JsonWriter json;
        json.beginObject().key("rows").beginArray();
        for (size_t i = 0; i < entries.size(); ++i) {
            writePreviewRow(json, entries, i, taken[i]);
            json.moveTo(out);
        }
        json.endArray()
            .member("conflicts", session.controller.wasConflictDetected())
            .member("cutOffApplied",
                    session.controller.dynamicFileList().cutOffPointWasActuallyApplied())
            .endObject();
        json.moveTo(out);
        out += "\n";
    } else {
        printPreviewTable(entries, taken, stdout);
    }
    return session.refusedPaths ? 1 : 0;
}

// The summary title of the run ("3 file names were changed."); empty when
// "showSummary" is 0.
std::string summaryTitle(const Session& session) {
    return session.controller.lastRunResult().summary;
}

// One line per item not renamed, its paths shown so that a name cannot break the line.
void printOutcomesAsText(RunReport& report, const Session& session) {
    for (const auto& [index, o] : report.keptOutcomes()) {
        if (o.kind == RenameOutcome::Kind::SkippedExisting)
            std::fprintf(stderr, "skipped: %s: %s already exists\n", shownText(o.oldPath).c_str(),
                         shownText(o.newPath).c_str());
        else if (o.kind == RenameOutcome::Kind::Failed)
            std::fprintf(stderr, "failed: %s -> %s: %s\n", shownText(o.oldPath).c_str(),
                         shownText(o.newPath).c_str(), shownText(o.reason).c_str());
    }
    const std::string summary = summaryTitle(session);
    if (!summary.empty())
        std::printf("%s\n", summary.c_str());
}

void printOutcomes(RunReport& report, const Session& session, bool asJson) {
    if (!asJson) {
        printOutcomesAsText(report, session);
        return;
    }
    ChunkedOutput out(stdout);
    JsonWriter writer;
    writer.beginObject().key("pairs").beginArray();
    for (const auto& [index, o] : report.keptOutcomes()) {
        writer.beginObject()
            .member("oldPath", o.oldPath)
            .member("newPath", o.newPath)
            .member("outcome", RunReport::kindName(o.kind));
        if (!o.reason.empty())
            writer.member("reason", o.reason);
        if (!o.error.empty())
            writer.member("error", o.error);
        writer.endObject().moveTo(out);
    }
    writer.endArray().key("counts").beginObject();
    const RenameRunResult& result = session.controller.lastRunResult();
    for (auto kind : {RenameOutcome::Kind::Renamed, RenameOutcome::Kind::Unchanged,
                      RenameOutcome::Kind::SkippedExisting, RenameOutcome::Kind::Skipped,
                      RenameOutcome::Kind::Failed, RenameOutcome::Kind::NotReached})
        writer.member(RunReport::kindName(kind), result.count(kind));
    writer.endObject()
        .member("run", result.runId)
        .member("summary", summaryTitle(session))
        .endObject()
        .moveTo(out);
    out += "\n";
}

// The pairs that would get the same new path: on stderr, and with --json as
// an object on stdout.
void printConflicts(const std::vector<JournalPair>& colliding, bool json) {
    std::fprintf(stderr, "morvane-cli: items would get the same name:\n");
    for (const JournalPair& pair : colliding)
        std::fprintf(stderr, "  %s -> %s\n", pair.oldPath.c_str(), pair.newPath.c_str());
    if (!json)
        return;
    ChunkedOutput out(stdout);
    JsonWriter writer;
    writer.beginObject().key("conflicts").beginArray();
    for (const JournalPair& pair : colliding) {
        writer.beginObject()
            .member("oldPath", pair.oldPath)
            .member("newPath", pair.newPath)
            .endObject()
            .moveTo(out);
    }
    writer.endArray().member("renamed", false).endObject().moveTo(out);
    out += "\n";
}

// Where the window would show the conflicts dialog: go ahead (--allow-conflicts),
// ask (--interactive), or stop.
bool goAheadDespiteConflicts(Session& session, const Invocation& inv,
                             const std::vector<JournalPair>& colliding) {
    if (inv.allowConflicts)
        return true;
    printConflicts(colliding, inv.json && !inv.interactive);
    if (inv.interactive && session.port.confirmConflicts())
        return true;
    std::fprintf(stderr, "morvane-cli: nothing was renamed (--allow-conflicts goes ahead)\n");
    return false;
}

// The run over the whole list. The list is brought up to date with the
// preview's cut-off only for the checks before the run (is it empty, is it
// long), which read no folder further than the cut-off needs; the run lists
// every item itself, and its plan is checked for conflicts over the whole list.
int commandRename(const Invocation& inv) {
    Session session(inv.interactive);
    if (int status = session.prepare(inv); status >= 0)
        return status;
    MainController& controller = session.controller;
    controller.dynamicFileList().setApplyCutOff(true);
    controller.dynamicFileList().setFolderOrder(true);
    controller.updateAll();
    controller.dynamicFileList().setFolderOrder(false);
    // A long list, whether it comes from a folder or from many paths one by one.
    session.port.showProgressBar =
        isatty(STDERR_FILENO) && (controller.dynamicFileList().cutOffPointWasActuallyApplied() ||
                                  controller.rawFileList().count() > DynamicFileList::kCutOff);
    RunReport report;
    report.setKeepEveryOutcome(inv.json); // the JSON report lists every pair
    report.onConflicts = [&](const std::vector<JournalPair>& colliding) {
        return goAheadDespiteConflicts(session, inv, colliding);
    };
    // While renaming, an interactive run's questions have the terminal to themselves.
    if (session.port.showProgressBar && !inv.interactive)
        report.onProgress = [&session](size_t done, size_t total) {
            session.port.showRenameProgress(done, total);
        };
    controller.setJournalled(inv.journal);
    controller.setRunObserver(&report);
    const bool ran = controller.applyCurrentSettings();
    controller.setRunObserver(nullptr);
    session.port.closeProgress();
    const RenameRunResult& result = controller.lastRunResult();
    if (result.status == RenameRunResult::Status::StoppedForConflicts)
        return 1;
    if (result.status == RenameRunResult::Status::Refused) {
        std::fprintf(stderr, "morvane-cli: nothing was renamed: %s\n", result.reason.c_str());
        return 1;
    }
    if (!ran || report.pairCount() == 0) {
        for (const auto& alert : session.alerts)
            printAlert(alert, stderr);
        return ran && session.refusedPaths == 0 ? 0 : 1;
    }
    if (!result.journalWarning.empty())
        std::fprintf(stderr, "morvane-cli: warning: %s\n", result.journalWarning.c_str());
    printOutcomes(report, session, inv.json);
    return report.everythingDone() && session.refusedPaths == 0 ? 0 : 1;
}

// Copies a written list to standard output (--output -); false when it cannot be read.
bool copyToStandardOutput(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    char buffer[65536];
    size_t read;
    bool ok = true;
    while ((read = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        ok = ok && std::fwrite(buffer, 1, read, stdout) == read;
    std::fclose(file);
    return std::fflush(stdout) == 0 && ok;
}

int commandSaveList(const Invocation& inv) {
    Session session(false);
    if (int status = session.prepare(inv); status >= 0)
        return status;
    // The list is written aside and moved into place, so standard output gets
    // a copy of a file written in the private folder.
    const bool toOutput = inv.output == "-";
    session.port.saveListOptions = {DialogChoice::Ok, *inv.layout, inv.changedOnly};
    session.port.savePath = toOutput ? privateFolder + "/list.txt" : absolutePath(inv.output);
    session.controller.updateAll();
    session.controller.createFileList();
    for (const auto& alert : session.alerts) {
        if (alert.style != AlertStyle::Informational) {
            printAlert(alert, stderr);
            return 1;
        }
    }
    if (toOutput && !copyToStandardOutput(session.port.savePath)) {
        std::fprintf(stderr, "morvane-cli: the list could not be written to standard output\n");
        return 1;
    }
    return session.refusedPaths ? 1 : 0;
}

// The lists of names and keys that shell completion reads: one a line.
int listNamesOrKeys(const Invocation& inv, const ActionList& registry) {
    std::string out;
    if (inv.globalKeys) {
        for (const auto& entry : MRVNGlobalPreferencesPseudoAction().defaultParameters())
            out += entry.first + "\n";
    } else if (inv.keysOf) {
        auto action = registry.popUpMenuIndexForName(*inv.keysOf) == ActionList::kNotFound
                          ? nullptr
                          : ActionFactory::create(*inv.keysOf);
        if (!action) // as for an unknown --step: a usage error
            return usageError(unknownActionError(registry, *inv.keysOf));
        for (const auto& entry : action->parameterList())
            out += entry.first + "\n";
    } else {
        for (int i = 0; i < registry.count(); ++i)
            if (const std::string name = registry.nameForPopUpIndex(i);
                !name.empty() && ActionFactory::create(name))
                out += name + "\n";
    }
    std::fputs(out.c_str(), stdout);
    return 0;
}

// One action in full (actions NAME), or every action with its parameters.
int commandActions(const Invocation& inv) {
    ActionList registry(*privateDefaults);
    if (inv.names || inv.globalKeys || inv.keysOf)
        return listNamesOrKeys(inv, registry);
    if (!inv.arguments.empty() &&
        registry.popUpMenuIndexForName(inv.arguments[0]) == ActionList::kNotFound)
        return usageError(unknownActionError(registry, inv.arguments[0]));
    // Every action: a JSON array; one action: its object alone.
    const bool array = inv.json && inv.arguments.empty();
    std::string out;
    JsonWriter json;
    if (array)
        json.beginArray();
    for (int i = 0; i < registry.count(); ++i) {
        const std::string name = registry.nameForPopUpIndex(i);
        auto action = name.empty() ? nullptr : ActionFactory::create(name);
        if (!action || (!inv.arguments.empty() && name != inv.arguments[0]))
            continue;
        const ActionHelp help(name, registry.popUpMenuItems()[static_cast<size_t>(i)],
                              action->parameterList());
        if (inv.json) {
            help.writeJson(json);
        } else if (!inv.arguments.empty()) {
            out += help.text();
        } else {
            out += name + "  (" + registry.popUpMenuItems()[static_cast<size_t>(i)] + ")\n";
            for (const auto& [key, value] : action->parameterList())
                out += "    " + key + " = " + value.describe() + "\n";
        }
    }
    if (array)
        json.endArray();
    if (inv.json)
        out = json.written() + "\n";
    else if (inv.arguments.empty())
        out += "\n'morvane-cli actions NAME' explains one action's keys and their values.\n";
    std::fputs(out.c_str(), stdout);
    return 0;
}

// The folder of a run's items: the first one, and how many others there are.
std::string runFolders(const JournalRecord& run) {
    std::vector<std::string> folders;
    for (const auto& step : run.steps) {
        const std::string folder = std::filesystem::path(step.from).parent_path().string();
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(folder);
    }
    if (folders.empty())
        return "-";
    return folders.size() == 1 ? folders[0]
                               : folders[0] + " (+" + std::to_string(folders.size() - 1) +
                                     " more folder" + (folders.size() == 2 ? ")" : "s)");
}

// One run a line: its id, time, state, what it renamed, its folder and chain.
void listRuns(const std::vector<JournalRecord>& runs) {
    for (const auto& run : runs) {
        char when[64];
        const std::time_t created = run.created;
        std::tm local{};
        localtime_r(&created, &local);
        std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S", &local);
        const std::string renamed =
            std::to_string(run.pairCount()) + " pairs, " +
            (run.doneCount() == 0 ? "none" : std::to_string(run.doneCount())) + " renamed";
        const std::string about = RunJournal::aboutOf(RenameJournal::defaultFolder(), run.runId);
        std::printf("%s  %s  %s  %s  %s  %s\n", run.runId.c_str(), when, run.state().c_str(),
                    renamed.c_str(), runFolders(run).c_str(), about.empty() ? "-" : about.c_str());
    }
}

int commandUndo(const Invocation& inv) {
    UndoService service;
    if (inv.list) {
        listRuns(service.runs());
        return 0;
    }
    if (!inv.arguments.empty()) {
        const auto runs = service.runs();
        const auto run = std::find_if(runs.begin(), runs.end(), [&inv](const JournalRecord& r) {
            return r.runId == inv.arguments[0];
        });
        if (run != runs.end() && run->undoComplete) {
            std::fprintf(stderr, "morvane-cli: run %s was already undone\n", run->runId.c_str());
            return 1;
        }
    }
    const UndoResult result =
        inv.arguments.empty() ? service.undoNewest() : service.undo(inv.arguments[0]);
    switch (result.status) {
    case UndoResult::Status::NothingToUndo:
        std::fprintf(stderr, "morvane-cli: no run to undo\n");
        return 1;
    case UndoResult::Status::NoSuchRun:
        std::fprintf(stderr, "morvane-cli: no run %s (see 'morvane-cli undo --list')\n",
                     result.runId.c_str());
        return 1;
    case UndoResult::Status::Busy:
    case UndoResult::Status::JournalUnwritable:
        std::fprintf(stderr, "morvane-cli: nothing was undone: %s\n", result.message.c_str());
        return 1;
    case UndoResult::Status::Complete:
    case UndoResult::Status::Incomplete:
        break;
    }
    for (const auto& [pair, reason] : result.problems)
        std::fprintf(stderr, "not restored: %s: %s\n",
                     pair.newPath.empty() ? result.runId.c_str() : pair.newPath.c_str(),
                     reason.c_str());
    std::printf("%zu item%s restored.\n", result.restored, result.restored == 1 ? "" : "s");
    return result.status == UndoResult::Status::Complete ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    LargeBlocks::returnToTheSystemWhenFreed();
    SystemLog::setIdent("morvane-cli");
    const ParseResult parsed = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.error.empty())
        return usageError(parsed.error);
    const Invocation& inv = parsed.invocation;
    PrivateDefaults defaults;
    privateDefaults = defaults.defaults.get();
    privateFolder = defaults.folder;
    if (!privateDefaults && inv.command != Command::Help && inv.command != Command::Version &&
        inv.command != Command::Undo) {
        std::fprintf(stderr, "morvane-cli: cannot create a temporary folder (TMPDIR)\n");
        return 1;
    }
    switch (inv.command) {
    case Command::Help:
        std::fputs(usageText, stdout);
        return 0;
    case Command::Version:
        std::printf("morvane-cli %s\n", MORVANE_VERSION);
        return 0;
    case Command::Preview:
        return commandPreview(inv);
    case Command::Rename:
        return commandRename(inv);
    case Command::SaveList:
        return commandSaveList(inv);
    case Command::Actions:
        return commandActions(inv);
    case Command::Undo:
        return commandUndo(inv);
    }
    return 2;
}
