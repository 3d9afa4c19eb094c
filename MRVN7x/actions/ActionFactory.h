#pragma once
// The action classes by action name. Every concrete action class registers
// itself once, from its own source file:
//     static const ActionRegistration<AddToEndAction> registration;
// The action registry (ActionList) creates actions through this table only.
#include "MRVN7x/actions/BaseRenameAction.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace morvane {

class ActionFactory {
public:
    using Creator = std::function<std::unique_ptr<BaseRenameAction>()>;

    static void registerClass(const std::string& actionName, Creator creator);
    // A new, initialised action of the class registered for the name, or nullptr.
    static std::unique_ptr<BaseRenameAction> create(const std::string& actionName);
    static bool hasClass(const std::string& actionName);
    static std::vector<std::string> registeredNames();
};

template <class T> struct ActionRegistration {
    ActionRegistration() {
        ActionFactory::registerClass(T::kActionName, [] { return makeAction<T>(); });
    }
};

} // namespace morvane
