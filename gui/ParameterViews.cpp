#include "gui/ParameterViews.h"

#include "MRVN7x/actions/ActionList.h"
#include "platform/SystemLog.h"

namespace morvane::gui {

QWidget* ParameterViews::create(const ActionList& registry, const std::string& actionName,
                                std::string* error) {
    const std::string viewName = registry.nibNameForActionName(actionName);
    const auto& views = table();
    const auto found = views.find(viewName);
    if (viewName.empty() || found == views.end()) {
        const std::string message = "Internal error: the parameter view \"" + viewName +
                                    "\" of the step \"" + actionName +
                                    "\" is missing from this build.";
        SystemLog::error(message);
        if (error)
            *error = message;
        return nullptr;
    }
    auto* view = new QWidget;
    found->second(view);
    return view;
}

} // namespace morvane::gui
