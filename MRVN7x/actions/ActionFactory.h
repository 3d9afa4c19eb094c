#pragma once
// The action classes by action name, from the table the build generates over
// every action class (cmake/ActionTable.cmake), wherever its layer lies. The
// action registry (ActionList) creates actions through it only.
#include "MRVN7x/actions/BaseRenameAction.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace morvane {

class ActionFactory {
public:
    using Creator = std::function<std::unique_ptr<BaseRenameAction>()>;
    struct Entry {
        std::string actionName;
        Creator create;
    };

    // A new, initialised action of the class of the name, or nullptr.
    static std::unique_ptr<BaseRenameAction> create(const std::string& actionName);
    static bool hasClass(const std::string& actionName);
    static std::vector<std::string> registeredNames();

private:
    // The generated table, linked into the core library with the layers.
    static const std::vector<Entry>& classes();
};

} // namespace morvane
