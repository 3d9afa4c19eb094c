#include "MRVN7x/actions/BaseRenameAction.h"

#include "platform/PathText.h"

namespace morvane {

plist::Dictionary BaseRenameAction::defaultParameters() const {
    auto params = BaseAction::defaultParameters();
    params["fragmentSelection"] = plist::Value(0);
    return params;
}

void BaseRenameAction::prepareParameters() {
    BaseAction::prepareParameters();
    paramFragmentSelectionMode = getParamInt("fragmentSelection", 0);
}

std::u16string BaseRenameAction::processName(const std::u16string& fragment,
                                             const std::string& path, InputContext& input,
                                             OutputContext& output) {
    (void)output;
    return processName(fragment, path, input);
}

std::optional<BaseRenameAction::Split> BaseRenameAction::splitName(const std::u16string& name,
                                                                   std::int32_t selection) {
    const auto dot = name.rfind(u'.');
    if (dot == std::u16string::npos) {
        if (selection == 2 || selection == 3)
            return std::nullopt;
        return Split{{}, name, {}};
    }
    switch (selection) {
    case 1:
        return Split{{}, name.substr(0, dot), name.substr(dot)};
    case 2:
        return Split{name.substr(0, dot + 1), name.substr(dot + 1), {}};
    case 3:
        return Split{name.substr(0, dot), name.substr(dot), {}};
    default:
        return Split{{}, name, {}};
    }
}

void BaseRenameAction::executeWithInputContext(InputContext& input, OutputContext& output) {
    prepareParametersIfChanged();
    const std::u16string& current = input.currentName; // only the chain changes it, between steps
    std::u16string newName;
    if (paramFragmentSelectionMode == 0) { // the whole name: nothing to cut or join
        newName = processName(current, input.inputPath, input, output);
    } else if (auto split = splitName(current, paramFragmentSelectionMode)) {
        newName = split->front + processName(split->fragment, input.inputPath, input, output) +
                  split->back;
    } else {
        output.newName = current;
        return;
    }
    // Positions count UTF-16 units, so an action can cut a surrogate pair in
    // half; such a name cannot be written to disk, so the name stays as it was.
    output.newName = PathText::isEncodable(newName) ? std::move(newName) : current;
}

} // namespace morvane
