#pragma once
// A modal alert and the one question the components ask of the user through
// it. The application's user interface port and the preference pane's port
// both answer it.
#include <string>
#include <vector>

namespace morvane {

enum class AlertStyle { Warning, Informational, Critical };

// The button that closed an alert: its first (default), second or third one.
// The values are the codes stored settings and scripts have always used.
enum class AlertAnswer { First = 1, Second = 0, Third = -1 };

// A modal alert with up to three buttons.
struct Alert {
    AlertStyle style = AlertStyle::Informational;
    std::string title;
    std::string text;
    std::vector<std::string> buttons;
};

class AlertPort {
public:
    virtual ~AlertPort() = default;
    virtual AlertAnswer runAlert(const Alert& alert) = 0;
};

} // namespace morvane
