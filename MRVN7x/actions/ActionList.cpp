#include "MRVN7x/actions/ActionList.h"

#include "MRVN7x/actions/ActionFactory.h"
#include "platform/Resources.h"
#include "platform/SystemLog.h"

namespace morvane {
namespace {

std::vector<std::string> stringArrayResource(const std::string& name) {
    std::vector<std::string> out;
    auto value = Resources::plist(name);
    const plist::Array* array = value ? value->asArray() : nullptr;
    if (!array) {
        SystemLog::error(Resources::missingMessage(name + ".plist"));
        return out;
    }
    for (const auto& item : *array)
        out.push_back(item.asString() ? *item.asString() : std::string());
    return out;
}

} // namespace

ActionList::Tables::Tables() {
    nameArray = stringArrayResource("popUpIndexToNameMapping");
    popUpMenuItems = stringArrayResource("actionPopUpMenuItems");
    popUpMenuItems.resize(nameArray.size());
    for (size_t i = 0; i < nameArray.size(); ++i)
        if (!nameArray[i].empty()) // an empty name is a separator line
            indexOfName.emplace(nameArray[i], static_cast<int>(i)); // the first entry wins
    auto mapping = Resources::plist("actionNameToNibFileMapping");
    if (const plist::Dictionary* dict = mapping ? mapping->asDictionary() : nullptr) {
        for (const auto& [name, nib] : *dict)
            if (nib.asString())
                nameToNibMapping[name] = *nib.asString();
    } else {
        SystemLog::error(Resources::missingMessage("actionNameToNibFileMapping.plist"));
    }
}

const ActionList::Tables& ActionList::tables() {
    static const Tables shared;
    return shared;
}

ActionList::ActionList(UserDefaults& defaults)
    : defaults_(defaults), nameArray_(tables().nameArray), popUpMenuItems_(tables().popUpMenuItems),
      indexOfName_(tables().indexOfName), nameToNibMapping_(tables().nameToNibMapping) {}

std::string ActionList::menuTitleForName(const std::string& name) {
    const Tables& all = tables();
    const auto it = all.indexOfName.find(name);
    return it == all.indexOfName.end() ? "Error"
                                       : all.popUpMenuItems[static_cast<size_t>(it->second)];
}

std::string ActionList::popUpMenuItemStringForName(const std::string& name) const {
    return menuTitleForName(name);
}

int ActionList::popUpMenuIndexForName(const std::string& name) const {
    auto it = indexOfName_.find(name);
    return it == indexOfName_.end() ? kNotFound : it->second;
}

std::string ActionList::nameForPopUpIndex(int index) const {
    if (index < 0 || index >= count())
        return {};
    return nameArray_[static_cast<size_t>(index)];
}

std::string ActionList::nibNameForActionName(const std::string& name) const {
    auto it = nameToNibMapping_.find(name);
    return it == nameToNibMapping_.end() ? std::string() : it->second;
}

Result<std::unique_ptr<BaseRenameAction>> ActionList::newActionForName(const std::string& name,
                                                                       KeyValueObserver* owner) {
    std::unique_ptr<BaseRenameAction> action;
    if (nameToNibMapping_.count(name))
        action = ActionFactory::create(name);
    if (!action) {
        SystemLog::error(std::string("Internal error: ") + kNoActionError + " (action name \"" +
                         name + "\")");
        return Failure{0, kNoActionError};
    }
    lastActionToBeInitialized_ = action.get();
    loadActionParametersFromPreferences(*action);
    if (owner)
        action->registerObserverForAllValues(owner);
    return action;
}

void ActionList::saveActionParametersToPreferences(const BaseAction& action) {
    plist::Dictionary actions;
    if (auto stored = defaults_.objectForKey("actions"); stored && stored->isDictionary())
        actions = *stored->asDictionary();
    actions[action.actionName()] = plist::Value(action.parameterList());
    // Kept in memory: the owner of the domain writes it at quit, before a run
    // and after a quiet moment, not a disk flush per click.
    defaults_.setObject("actions", plist::Value(std::move(actions)));
}

void ActionList::loadActionParametersFromPreferences(BaseAction& action) {
    auto stored = defaults_.objectForKey("actions");
    const plist::Dictionary* actions = stored ? stored->asDictionary() : nullptr;
    if (!actions)
        return;
    const plist::Value* saved = plist::find(*actions, action.actionName());
    if (!saved)
        return;
    if (!saved->isDictionary()) {
        SystemLog::warning("The saved parameters of \"" + action.actionName() +
                           "\" are not a dictionary; the defaults are used");
        return;
    }
    action.setParameterList(*saved->asDictionary());
}

} // namespace morvane
