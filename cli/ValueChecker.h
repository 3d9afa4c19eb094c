#pragma once
// Checks a KEY=VALUE of the command line against the key's entry in the
// parameter table: the key must be one the step (or the global settings) has,
// and the value must lie in its range or among its choices. Yes/no keys take
// 0/1, yes/no and true/false; a choice may also be given by its title.
#include "MRVN7x/actions/ParameterTable.h"
#include "platform/PlistValue.h"
#include "platform/Result.h"

#include <string>

namespace morvane::cli {

class ValueChecker {
public:
    // owner names the step or "the global settings" in messages.
    ValueChecker(std::string owner, const plist::Dictionary& defaults)
        : owner_(std::move(owner)), defaults_(defaults) {}

    // The typed value for the key, or a failure with a one-line reason.
    Result<plist::Value> check(const std::string& key, const std::string& text,
                               const ParameterInfo* info) const;

    // The keys a user may set (the defaults without the internal ones), in order.
    std::vector<std::string> userKeys() const;

private:
    Result<plist::Value> checkKnown(const std::string& key, const std::string& text,
                                    const ParameterInfo& info) const;
    std::string subject(const std::string& key) const;

    std::string owner_;
    const plist::Dictionary& defaults_;
};

// "0 (Name (A to Z)), 1 (Name (Z to A)), ..."
std::string describeChoices(const ParameterInfo& info);
// The accepted values of a key in a few words: "an integer from 0 to 255", ...
std::string describeRange(const ParameterInfo& info);

} // namespace morvane::cli
