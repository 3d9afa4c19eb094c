#pragma once
// The action registry: every action by its action name, the order and titles
// of the action menu, the parameter-view resource of each action, and the last
// saved parameters of every action type (the preference "actions").
#include "MRVN7x/actions/BaseRenameAction.h"
#include "platform/Result.h"
#include "platform/UserDefaults.h"

#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace morvane {

class ActionList {
public:
    static constexpr int kNotFound = -1;
    static constexpr const char* kNoActionError = "Couldn't load new action from nib!";

    // Over the tables of the resources (read once per process); parameters
    // are saved in defaults.
    explicit ActionList(UserDefaults& defaults);

    // The menu title of the name, or "Error" when the name is not in the menu.
    static std::string menuTitleForName(const std::string& name);
    std::string popUpMenuItemStringForName(const std::string& name) const;
    const std::vector<std::string>& nameArray() const { return nameArray_; }
    const std::vector<std::string>& popUpMenuItems() const { return popUpMenuItems_; }
    int count() const { return static_cast<int>(nameArray_.size()); }
    int popUpMenuIndexForName(const std::string& name) const;
    // The action name at a menu index; empty outside the table.
    std::string nameForPopUpIndex(int index) const;
    // The parameter-view resource of an action name; empty when unmapped.
    std::string nibNameForActionName(const std::string& name) const;

    // A new action with the last saved parameters of its type, observed by
    // owner (which may be null). An action name without a mapping or without
    // a class fails with kNoActionError (logged, and the failure's message).
    Result<std::unique_ptr<BaseRenameAction>> newActionForName(const std::string& name,
                                                               KeyValueObserver* owner);
    BaseAction* lastActionToBeInitialized() const { return lastActionToBeInitialized_; }

    // Stores the action's parameters in the domain (in memory; the domain's
    // owner synchronizes it).
    void saveActionParametersToPreferences(const BaseAction& action);
    void loadActionParametersFromPreferences(BaseAction& action);

    UserDefaults& defaults() { return defaults_; }

private:
    // The menu order, titles and parameter views of the resources.
    struct Tables {
        Tables();
        std::vector<std::string> nameArray;
        std::vector<std::string> popUpMenuItems;
        std::unordered_map<std::string, int> indexOfName;
        std::map<std::string, std::string> nameToNibMapping;
    };
    static const Tables& tables();

    UserDefaults& defaults_;
    const std::vector<std::string>& nameArray_;
    const std::vector<std::string>& popUpMenuItems_;
    const std::unordered_map<std::string, int>& indexOfName_;
    const std::map<std::string, std::string>& nameToNibMapping_;
    BaseAction* lastActionToBeInitialized_ = nullptr;
};

} // namespace morvane
