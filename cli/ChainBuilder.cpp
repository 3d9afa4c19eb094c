#include "cli/ChainBuilder.h"

#include "MRVN7x/actions/ActionList.h"
#include "MRVN7x/actions/ParameterTable.h"
#include "MRVN7x/app/ApplicationDefaults.h"
#include "MRVN7x/app/DropletSettingsFile.h"
#include "MRVN7x/lists/RenameFromListAction.h"
#include "cli/ListFileProblem.h"
#include "cli/Suggestion.h"
#include "cli/ValueChecker.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <sys/stat.h>

namespace morvane::cli {

namespace {
bool isInteger(const std::string& text) {
    size_t start = !text.empty() && text[0] == '-' ? 1 : 0;
    if (start >= text.size() || text.size() - start > 10)
        return false;
    for (size_t i = start; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    const long long value = std::stoll(text);
    return value >= -2147483648LL && value <= 2147483647LL;
}
} // namespace

std::optional<plist::Value> typedValue(const plist::Value* byDefault, const std::string& text) {
    const bool wantsInteger = byDefault ? byDefault->isNumber() : isInteger(text);
    if (!wantsInteger)
        return plist::Value(text);
    if (!isInteger(text))
        return std::nullopt;
    return plist::Value(std::stoi(text));
}

Result<plist::Dictionary> readChainFile(const std::string& path) {
    auto host = DropletSettingsFile::readHostSettings(path);
    if (!host)
        return host.failure();
    return *(*host)[DropletSettingsFile::kCompositeAction].asDictionary();
}

std::string unknownActionError(const ActionList& registry, const std::string& name) {
    // Names and menu titles side by side; a title stands for its exact name.
    std::vector<std::string> candidates;
    std::map<std::string, std::string> nameOf;
    for (int i = 0; i < registry.count(); ++i) {
        const std::string exact = registry.nameForPopUpIndex(i);
        if (exact.empty())
            continue;
        const std::string title = registry.popUpMenuItems()[static_cast<size_t>(i)];
        candidates.insert(candidates.end(), {exact, title});
        nameOf[exact] = exact;
        nameOf[title] = exact;
    }
    std::string error = "no action \"" + name + "\" (see 'morvane-cli actions')";
    if (auto match = closestMatch(name, candidates))
        error += "; did you mean \"" + nameOf[*match] + "\"?";
    return error;
}

Result<void> ChainBuilder::appendSavedChain(const plist::Dictionary& flat) {
    const plist::Value* array = plist::find(flat, "composite actions array");
    if (!array || !array->isArray() || array->asArray()->empty())
        return Failure{0, "the saved chain has no steps in \"composite actions array\""};
    for (const auto& entry : *array->asArray()) {
        const plist::Dictionary* step = entry.asDictionary();
        const plist::Value* name = step ? plist::find(*step, "action name") : nullptr;
        const plist::Value* params = step ? plist::find(*step, "action parameter list") : nullptr;
        if (!name || !name->asString())
            return Failure{0, "a saved step has no action name"};
        auto action = registry_.newActionForName(*name->asString(), &controller_);
        if (!action)
            return Failure{0,
                           "unknown action name \"" + *name->asString() + "\" in the saved chain"};
        if (params && params->isDictionary())
            (*action)->setParameterList(*params->asDictionary());
        steps_.push_back(std::move(*action));
    }
    // As the application loads a chain: an index beyond the steps makes the
    // last one current.
    const long long first = static_cast<long long>(steps_.size() - array->asArray()->size());
    const long long last = static_cast<long long>(steps_.size()) - 1;
    const plist::Value* index = plist::find(flat, "currentActionIndex");
    savedIndex_ =
        static_cast<int>(std::clamp(first + (index ? integerReading(*index) : 0), first, last));
    return Result<void>::success();
}

// Writes through the key interface as a control of the step's parameter view
// does: the typed value, checked by the step's validation hook. A list file
// path is loaded as the view's browse command loads the chosen file.
Result<void> ChainBuilder::applySetting(BaseRenameAction& step, const Setting& setting) {
    const auto& [key, text] = setting;
    const plist::Dictionary defaults = step.defaultParameters();
    const ValueChecker checker("\"" + step.actionName() + "\"", defaults);
    auto checked = checker.check(key, text, ParameterTable::find(step.actionName(), key));
    if (!checked)
        return checked.failure();
    auto validated = step.validatedValueForKey(key, std::move(*checked));
    if (!validated) {
        const std::string& refusal = validated.message();
        return Failure{0, "\"" + key + "\" of \"" + step.actionName() + "\" refuses '" + text +
                              "'" + (refusal.empty() ? "" : ": " + refusal)};
    }
    std::optional<plist::Value> value = std::move(*validated);
    auto* fromList = dynamic_cast<RenameFromListAction*>(&step);
    if (!fromList || key != "list file path" || !value || !value->asString()) {
        step.setValueForKey(key, std::move(value));
        return Result<void>::success();
    }
    return loadListFile(*fromList, *value->asString());
}

// The open panel hands the view an absolute path; a relative one is taken
// from the working folder.
Result<void> ChainBuilder::loadListFile(RenameFromListAction& step, const std::string& path) {
    std::error_code ignored;
    const std::string absolute =
        path.empty() || path[0] == '/' ? path : std::filesystem::absolute(path, ignored).string();
    step.browse(absolute);
    const std::string status = step.getParamString("status");
    if (status.find("Nothing loaded.") == std::string::npos)
        return Result<void>::success();
    // "Error on line N.": what is wrong with that line.
    constexpr std::string_view prefix = "Error on line ";
    const int line = status.rfind(prefix, 0) == 0 ? std::atoi(status.c_str() + prefix.size()) : 0;
    if (const std::string problem = line > 0 ? listLineProblem(absolute, line) : "";
        !problem.empty())
        return Failure{0, "\"list file path\" " + path + ": line " + std::to_string(line) + ": " +
                              problem + ". Nothing loaded."};
    return Failure{0, "\"list file path\" " + path + ": " + status};
}

Result<void> ChainBuilder::build(const Invocation& invocation) {
    for (const auto& item : invocation.chain) {
        switch (item.kind) {
        case ChainItem::Kind::Step: {
            auto action = registry_.newActionForName(item.name, &controller_);
            if (!action)
                return Failure{0, unknownActionError(registry_, item.name)};
            steps_.push_back(std::move(*action));
            break;
        }
        case ChainItem::Kind::Set:
            if (auto applied = applySetting(*steps_.back(), item.setting); !applied)
                return applied;
            break;
        case ChainItem::Kind::ChainFile: {
            auto host = DropletSettingsFile::readHostSettings(item.name);
            if (!host)
                return host.failure();
            if (auto appended = appendSavedChain(
                    *(*host)[DropletSettingsFile::kCompositeAction].asDictionary());
                !appended)
                return appended;
            // A droplet renames with its own global settings too.
            if (auto* globals = plist::find(*host, DropletSettingsFile::kGlobalSettings))
                savedGlobals_ = *globals->asDictionary();
            break;
        }
        case ChainItem::Kind::AppChain: {
            UserDefaults app(kApplicationDomain);
            auto saved = app.objectForKey("composite action");
            if (!saved || !saved->isDictionary())
                return Failure{0, "the application has not saved a chain"};
            if (auto appended = appendSavedChain(*saved->asDictionary()); !appended)
                return appended;
            break;
        }
        }
    }
    if (steps_.empty())
        return Failure{0, "no steps: give --step, --chain or --app-chain"};
    const int count = static_cast<int>(steps_.size());
    int current = invocation.current.value_or(savedIndex_ >= 0 ? savedIndex_ : count - 1);
    if (current >= count)
        return Failure{0, "--current " + std::to_string(current) + " is beyond the last step"};
    CompositeRenameAction& chain = controller_.compositeAction();
    const int old = chain.count();
    for (auto& step : steps_)
        chain.insertStep(std::move(step), static_cast<size_t>(chain.count()));
    chain.setCurrentActionIndex(chain.count() - 1);
    for (int i = 0; i < old; ++i)
        chain.removeStep(0);
    chain.setCurrentActionIndex(current < 0 ? 0 : current);
    return Result<void>::success();
}

Result<void> ChainBuilder::applyGlobals(const std::vector<Setting>& globals) {
    MRVNGlobalPreferencesPseudoAction& settings = controller_.globalSettings();
    // Whether to ask is the command line's choice (--interactive), not the droplet's.
    savedGlobals_.erase("interactiveMode");
    if (!savedGlobals_.empty())
        settings.setParameterList(savedGlobals_);
    for (const auto& [key, text] : globals) {
        const plist::Dictionary defaults = settings.defaultParameters();
        const ValueChecker checker("the global settings", defaults);
        auto value = checker.check(key, text, ParameterTable::findGlobal(key));
        if (!value)
            return value.failure();
        settings.setValueForKey(key, *value);
    }
    return Result<void>::success();
}

} // namespace morvane::cli
