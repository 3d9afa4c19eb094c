#pragma once
// What the pane's logic asks of the user: modal alerts and the help page. The
// plug-in answers with Qt message boxes, the tests with a scripted fake.
#include "MRVN7x/app/UserInterfacePort.h"

#include <string>

namespace tessary {

using morvane::Alert;
using morvane::AlertAnswer;
using morvane::AlertStyle;

class AlertPort {
public:
    virtual ~AlertPort() = default;
    virtual AlertAnswer runAlert(const Alert& alert) = 0;
    virtual void openHelpPage(const std::string& address) = 0;
};

} // namespace tessary
