#include "cli/CommandLine.h"

#include <cstdlib>
#include <map>

namespace morvane::cli {

const char* const usageText =
    R"(Usage:
  morvane-cli preview   [CHAIN] [SETTINGS] [--json] [--cutoff] PATH...
  morvane-cli rename    [CHAIN] [SETTINGS] [--json] [--interactive] [--allow-conflicts]
                        [--no-journal] PATH...
  morvane-cli save-list [CHAIN] [SETTINGS] --layout 0|1|2 [--changed-only] --output FILE PATH...
  morvane-cli actions   [NAME] [--json] | --names | --keys NAME | --global-keys
  morvane-cli undo      [--list] [RUN]
  morvane-cli --help | --version

Renames files and folders through a chain of renaming steps, never replacing anything.

CHAIN, in order of appearance:
  --step NAME          append a step of that action name (see "morvane-cli actions"),
                       starting from the action's default parameters
  --set KEY=VALUE      set a parameter of the most recent step; KEY must be one of the
                       step's keys and VALUE within its range or choices (a choice by
                       its number or its title; yes/no keys take 0/1, yes/no, true/false;
                       "007" stays text for a text key); "morvane-cli actions NAME"
                       lists them; setting "list file path" of "Rename from list" loads
                       that file
  --chain FILE         load a saved chain, a droplet's Settings.plist or a droplet folder;
                       a droplet's global settings come too (--global still wins)
  --app-chain          use the chain the application saved
  --current N          make step N (from 0) the current step (default: the saved one,
                       else the last)
SETTINGS:
  --global KEY=VALUE   set a global setting, checked like --set: processFiles,
                       processFolders, processSubfolders, interactiveMode, showSummary
                       (0/1); renameMode (0 file manager, 1 move by path, 2 rename by
                       name, 3 rename in place); "actions --global-keys" lists them all

preview      show current and new names, over the whole list; --cutoff applies the
             preview's 250-entry cut-off; --json prints {"rows", "conflicts", "cutOffApplied"}.
             Marks: "*" a new name, "!" the same new name as another item, "x" the new
             name exists on disk and is not in the list, so the rename will skip it
             ("exists": true in JSON); exits 0 even with marks, 1 when a PATH could not
             be added
rename       rename on disk; stops before renaming anything when two items would get
             the same name, unless --allow-conflicts; an item whose new name exists is
             skipped; --interactive asks before each rename; --json prints every pair's
             outcome and the counts; --no-journal keeps no journal (no undo)
save-list    write the names to FILE ("-": standard output): layout 0
             "name<TAB>new name", 1 "new name", 2 "full path<TAB>new name";
             --changed-only leaves unchanged items out; layouts 1 and 2 load back
             into "Rename from list", layout 0 does not
actions      every action name, its menu title and its parameters with defaults;
             "actions NAME" explains one action: each key's type, default, range or
             choices and what they mean; --json gives the same as JSON;
             --names, --keys NAME and --global-keys print only the action names, the
             parameter keys of action NAME or the global settings' keys, one a line
undo         reverse the newest run not yet undone (or RUN), never replacing anything;
             a RUN already undone is an error (exit 1); --list shows one run a line:
             RUN, time, state, pairs and how many were renamed, the folder (the first
             one and how many more) and the chain

Runs are journalled under ${XDG_STATE_HOME:-~/.local/state}/morvane/runs/.
A progress bar is drawn on standard error when it is a terminal and the list is longer
than 250 entries, whether from folders or from paths given one by one.

Exit status: 0 when everything asked for was done, 1 when an item was skipped or failed
or a check stopped the run, 2 for a usage error (an unknown command, option, action
name or key, or a value outside a key's range or choices).
)";

namespace {

const std::map<std::string, Command> commands = {{"preview", Command::Preview},
                                                 {"rename", Command::Rename},
                                                 {"save-list", Command::SaveList},
                                                 {"actions", Command::Actions},
                                                 {"undo", Command::Undo}};

bool parseInteger(const std::string& text, int& value) {
    if (text.empty())
        return false;
    char* end = nullptr;
    long parsed = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || parsed < -2147483647L || parsed > 2147483647L)
        return false;
    value = static_cast<int>(parsed);
    return true;
}

std::optional<Setting> parseSetting(const std::string& text) {
    auto equals = text.find('=');
    if (equals == std::string::npos || equals == 0)
        return std::nullopt;
    return Setting{text.substr(0, equals), text.substr(equals + 1)};
}

class Parser {
public:
    explicit Parser(const std::vector<std::string>& args) : args_(args) {}

    ParseResult run() {
        if (args_.empty())
            return fail("no command given");
        const std::string& first = args_[0];
        if (first == "--help" || first == "-h")
            return done(Command::Help);
        if (first == "--version")
            return done(Command::Version);
        auto command = commands.find(first);
        if (command == commands.end())
            return fail("unknown command '" + first + "'");
        result_.invocation.command = command->second;
        for (i_ = 1; i_ < args_.size(); ++i_)
            if (!option(args_[i_]))
                return result_;
        return check();
    }

private:
    ParseResult done(Command command) {
        result_.invocation.command = command;
        return result_;
    }
    ParseResult fail(const std::string& reason) {
        result_.error = reason;
        return result_;
    }
    bool failed(const std::string& reason) {
        result_.error = reason;
        return false;
    }

    // The value after an option, or a failure.
    std::optional<std::string> value(const std::string& option) {
        if (i_ + 1 >= args_.size()) {
            failed(option + " needs a value");
            return std::nullopt;
        }
        return args_[++i_];
    }

    bool option(const std::string& arg) {
        Invocation& inv = result_.invocation;
        if (endOfOptions_ || arg.empty() || arg[0] != '-' || arg == "-") {
            inv.arguments.push_back(arg);
            return true;
        }
        if (arg == "--") {
            endOfOptions_ = true;
            return true;
        }
        if (arg == "--help" || arg == "-h") {
            inv.command = Command::Help;
            i_ = args_.size();
            return true;
        }
        static const std::map<std::string, bool Invocation::*> flags = {
            {"--json", &Invocation::json},
            {"--cutoff", &Invocation::cutoff},
            {"--interactive", &Invocation::interactive},
            {"--allow-conflicts", &Invocation::allowConflicts},
            {"--changed-only", &Invocation::changedOnly},
            {"--list", &Invocation::list},
            {"--names", &Invocation::names},
            {"--global-keys", &Invocation::globalKeys}};
        if (auto flag = flags.find(arg); flag != flags.end()) {
            inv.*(flag->second) = true;
            return true;
        }
        if (arg == "--no-journal") {
            inv.journal = false;
            return true;
        }
        if (arg == "--app-chain") {
            inv.chain.push_back({ChainItem::Kind::AppChain, {}, {}});
            return true;
        }
        return optionWithValue(arg);
    }

    bool optionWithValue(const std::string& arg) {
        Invocation& inv = result_.invocation;
        auto text = value(arg);
        if (!text)
            return false;
        if (arg == "--step") {
            inv.chain.push_back({ChainItem::Kind::Step, *text, {}});
        } else if (arg == "--chain") {
            inv.chain.push_back({ChainItem::Kind::ChainFile, *text, {}});
        } else if (arg == "--set" || arg == "--global") {
            auto setting = parseSetting(*text);
            if (!setting)
                return failed(arg + " takes KEY=VALUE, not '" + *text + "'");
            if (arg == "--global")
                inv.globals.push_back(*setting);
            else
                inv.chain.push_back({ChainItem::Kind::Set, {}, *setting});
        } else if (arg == "--current") {
            int n = 0;
            if (!parseInteger(*text, n) || n < 0)
                return failed("--current takes a step number from 0");
            inv.current = n;
        } else if (arg == "--layout") {
            int n = 0;
            if (!parseInteger(*text, n) || n < 0 || n > 2)
                return failed("--layout takes 0, 1 or 2");
            inv.layout = n;
        } else if (arg == "--output") {
            inv.output = *text;
        } else if (arg == "--keys") {
            inv.keysOf = *text;
        } else {
            return failed("unknown option '" + arg + "'");
        }
        return true;
    }

    ParseResult check() {
        const Invocation& inv = result_.invocation;
        if (inv.command == Command::Help)
            return result_;
        const bool renames = inv.command == Command::Preview || inv.command == Command::Rename ||
                             inv.command == Command::SaveList;
        if (!renames && (!inv.chain.empty() || !inv.globals.empty()))
            return fail("chain and settings options belong to preview, rename and save-list");
        if (!inv.chain.empty() && inv.chain.front().kind == ChainItem::Kind::Set)
            return fail("--set comes after the --step or --chain it belongs to");
        if (renames && inv.arguments.empty())
            return fail("no PATH given");
        if (inv.command == Command::SaveList && (!inv.layout || inv.output.empty()))
            return fail("save-list needs --layout and --output");
        if (inv.command == Command::Actions && inv.arguments.size() > 1)
            return fail("actions takes at most one action NAME");
        const int lists = inv.names + inv.globalKeys + inv.keysOf.has_value() + inv.json;
        if (lists > 0 && inv.command != Command::Actions && !(lists == 1 && inv.json))
            return fail("--names, --keys and --global-keys belong to actions");
        if (lists > 1)
            return fail("actions takes one of --json, --names, --keys and --global-keys");
        if (!inv.arguments.empty() && lists > inv.json)
            return fail("actions NAME takes only --json");
        if (inv.command == Command::Undo && inv.arguments.size() > 1)
            return fail("undo takes at most one RUN");
        return result_;
    }

    const std::vector<std::string>& args_;
    size_t i_ = 0;
    bool endOfOptions_ = false;
    ParseResult result_;
};

} // namespace

ParseResult parseCommandLine(const std::vector<std::string>& args) {
    return Parser(args).run();
}

} // namespace morvane::cli
