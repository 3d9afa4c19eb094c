#pragma once
// What the pane's logic asks of the user: modal alerts and the help page. The
// plug-in answers with Qt message boxes, the tests with a scripted fake.
#include "MRVN7x/InstallationComponent/AlertPort.h"

#include <string>

namespace tessary {

using morvane::Alert;
using morvane::AlertAnswer;
using morvane::AlertStyle;

class AlertPort : public morvane::AlertPort {
public:
    virtual void openHelpPage(const std::string& address) = 0;
};

} // namespace tessary
