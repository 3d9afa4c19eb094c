#pragma once
// The program behind the window: the port, the controller with its timers,
// and the main window, started in the order of the launch sequence.
#include "MRVN7x/app/MainController.h"
#include "gui/MainWindow.h"
#include "gui/QtOneShotTimer.h"
#include "gui/QtUserInterfacePort.h"

#include <memory>
#include <string>
#include <vector>

namespace morvane::gui {

class MorvaneApplication {
public:
    MorvaneApplication(UserDefaults& defaults, ActionList& registry);
    ~MorvaneApplication();

    // Files handed over before the launch (the command line) are added as
    // they are; then the controller launches and the window shows. A
    // droplet's run keeps the window hidden and ends the program after it.
    // False when the program ends at once (a droplet record it cannot use, a
    // droplet edit declined).
    bool launch(const std::vector<std::string>& paths);
    // Files opened while running (a second instance, a drop on the icon).
    void openFiles(const std::vector<std::string>& paths);

    MainController& controller() { return controller_; }
    MainWindow& window() { return *window_; }
    QtUserInterfacePort& port() { return port_; }

private:
    QtUserInterfacePort port_;
    QtOneShotTimer previewTimer_;
    QtOneShotTimer settingsTimer_;
    MainController controller_;
    ActionList& registry_;
    std::unique_ptr<MainWindow> window_;
};

} // namespace morvane::gui
