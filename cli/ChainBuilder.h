#pragma once
// Builds the chain of a morvane-cli invocation: --step, --set, --chain,
// --app-chain and --current, in order of appearance, into the controller's
// chain; and applies --global to its global settings.
#include "MRVN7x/app/MainController.h"
#include "cli/CommandLine.h"

#include <string>

namespace morvane {
class RenameFromListAction;
}

namespace morvane::cli {

// The value for a key, typed like the key's default (byDefault; null for a
// key without one): integer keys take an integer, text keys the text as given
// ("007" stays text); a key without a default is an integer when the text is
// an optional minus sign and digits. Nothing when an integer key gets
// something else.
std::optional<plist::Value> typedValue(const plist::Value* byDefault, const std::string& text);

// A saved chain from a flat chain file, a droplet's Settings.plist or a
// droplet folder (read by DropletSettingsFile, as the application and the
// droplet program read it); error says why there is none.
std::optional<plist::Dictionary> readChainFile(const std::string& path, std::string& error);

// The usage error for an action name the registry does not know, with the exact
// name of the closest menu title or name ("did you mean").
std::string unknownActionError(const ActionList& registry, const std::string& name);

class ChainBuilder {
public:
    ChainBuilder(MainController& controller, ActionList& registry)
        : controller_(controller), registry_(registry) {}

    // False with a one-line reason on the first item that cannot be applied.
    bool build(const Invocation& invocation, std::string& error);
    bool applyGlobals(const std::vector<Setting>& globals, std::string& error);

private:
    bool appendSavedChain(const plist::Dictionary& flat, std::string& error);
    bool applySetting(BaseRenameAction& step, const Setting& setting, std::string& error);
    bool loadListFile(RenameFromListAction& step, const std::string& path, std::string& error);

    MainController& controller_;
    ActionList& registry_;
    std::vector<std::unique_ptr<BaseRenameAction>> steps_;
    int savedIndex_ = -1;
    plist::Dictionary savedGlobals_; // of the last droplet given with --chain
};

} // namespace morvane::cli
