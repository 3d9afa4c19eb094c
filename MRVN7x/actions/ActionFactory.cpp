#include "MRVN7x/actions/ActionFactory.h"

#include <unordered_map>

namespace morvane {
namespace {
// A function-local table: registrations run during static initialisation.
std::unordered_map<std::string, ActionFactory::Creator>& table() {
    static std::unordered_map<std::string, ActionFactory::Creator> creators;
    return creators;
}
} // namespace

void ActionFactory::registerClass(const std::string& actionName, Creator creator) {
    table()[actionName] = std::move(creator);
}

std::unique_ptr<BaseRenameAction> ActionFactory::create(const std::string& actionName) {
    auto it = table().find(actionName);
    return it == table().end() ? nullptr : it->second();
}

bool ActionFactory::hasClass(const std::string& actionName) {
    return table().count(actionName) != 0;
}

std::vector<std::string> ActionFactory::registeredNames() {
    std::vector<std::string> names;
    for (const auto& entry : table())
        names.push_back(entry.first);
    return names;
}

} // namespace morvane
