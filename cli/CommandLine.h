#pragma once
// The command line of morvane-cli, parsed into what to do. Parsing never
// touches the disk; a usage error is reported as a one-line reason.
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace morvane::cli {

enum class Command { Help, Version, Preview, Rename, SaveList, Actions, Undo };

// One "--set KEY=VALUE" of a step.
using Setting = std::pair<std::string, std::string>;

// The chain as the command line builds it, in order of appearance.
struct ChainItem {
    enum class Kind { Step, Set, ChainFile, AppChain } kind;
    std::string name; // Step: the action name; ChainFile: the file
    Setting setting;  // Set
};

struct Invocation {
    Command command = Command::Help;
    std::vector<ChainItem> chain;
    std::optional<int> current;
    std::vector<Setting> globals;
    bool json = false;
    bool cutoff = false;
    bool interactive = false;
    bool allowConflicts = false;
    bool journal = true;
    std::optional<int> layout;
    bool changedOnly = false;
    std::string output;
    bool list = false;
    // actions: one name or key a line (for completion and scripts).
    bool names = false;
    bool globalKeys = false;
    std::optional<std::string> keysOf;  // the action whose parameter keys to list
    std::vector<std::string> arguments; // paths, or the run of "undo"
};

struct ParseResult {
    Invocation invocation;
    std::string error; // empty when the command line is usable
};

ParseResult parseCommandLine(const std::vector<std::string>& args);

extern const char* const usageText;

} // namespace morvane::cli
