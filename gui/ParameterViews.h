#pragma once
// The parameter view of each action, made from the Designer form named like
// the view that the action registry maps the action to.
#include <QWidget>

#include <map>
#include <string>

namespace morvane {
class ActionList;
}

namespace morvane::gui {

class ParameterViews {
public:
    // A new view for the action, or nullptr with an internal error naming
    // what is missing (no view name in the registry, no form in the build).
    static QWidget* create(const ActionList& registry, const std::string& actionName,
                           std::string* error);
    // View name to the function that builds the form into a widget.
    static const std::map<std::string, void (*)(QWidget*)>& table();
};

} // namespace morvane::gui
