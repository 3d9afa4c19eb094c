#include "MRVN7x/actions/ActionFactory.h"

#include <unordered_map>

namespace morvane {
namespace {
const std::unordered_map<std::string, const ActionFactory::Creator*>&
byName(const std::vector<ActionFactory::Entry>& classes) {
    static const auto index = [&classes] {
        std::unordered_map<std::string, const ActionFactory::Creator*> map;
        for (const auto& entry : classes)
            map.emplace(entry.actionName, &entry.create);
        return map;
    }();
    return index;
}
} // namespace

std::unique_ptr<BaseRenameAction> ActionFactory::create(const std::string& actionName) {
    const auto& index = byName(classes());
    const auto it = index.find(actionName);
    return it == index.end() ? nullptr : (*it->second)();
}

bool ActionFactory::hasClass(const std::string& actionName) {
    return byName(classes()).count(actionName) != 0;
}

std::vector<std::string> ActionFactory::registeredNames() {
    std::vector<std::string> names;
    for (const auto& entry : classes())
        names.push_back(entry.actionName);
    return names;
}

} // namespace morvane
