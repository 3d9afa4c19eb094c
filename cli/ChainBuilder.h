#pragma once
// Builds the chain of a morvane-cli invocation: --step, --set, --chain,
// --app-chain and --current, in order of appearance, into the controller's
// chain; and applies --global to its global settings.
#include "MRVN7x/app/MainController.h"
#include "cli/CommandLine.h"
#include "platform/Result.h"

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
// droplet program read it); the failure says why there is none.
Result<plist::Dictionary> readChainFile(const std::string& path);

// The usage error for an action name the registry does not know, with the exact
// name of the closest menu title or name ("did you mean").
std::string unknownActionError(const ActionList& registry, const std::string& name);

class ChainBuilder {
public:
    ChainBuilder(MainController& controller, ActionList& registry)
        : controller_(controller), registry_(registry) {}

    // A failure with a one-line reason on the first item that cannot be applied.
    Result<void> build(const Invocation& invocation);
    Result<void> applyGlobals(const std::vector<Setting>& globals);

private:
    Result<void> appendSavedChain(const plist::Dictionary& flat);
    Result<void> applySetting(BaseRenameAction& step, const Setting& setting);
    Result<void> loadListFile(RenameFromListAction& step, const std::string& path);

    MainController& controller_;
    ActionList& registry_;
    std::vector<std::unique_ptr<BaseRenameAction>> steps_;
    int savedIndex_ = -1;
    plist::Dictionary savedGlobals_; // of the last droplet given with --chain
};

} // namespace morvane::cli
