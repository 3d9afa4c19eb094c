#include "gui/MorvaneApplication.h"

#include "MRVN7x/actions/ActionList.h"

#include <QTimer>

// The images and icons compiled into this library (outside any namespace, as Qt asks).
static void initResources() {
    Q_INIT_RESOURCE(morvane);
}

namespace morvane::gui {

MorvaneApplication::MorvaneApplication(UserDefaults& defaults, ActionList& registry)
    : controller_(port_, defaults, registry, &previewTimer_), registry_(registry) {
    initResources();
    controller_.setSettingsWriteTimer(&settingsTimer_);
}

MorvaneApplication::~MorvaneApplication() {
    port_.setWindow(nullptr);
}

bool MorvaneApplication::launch(const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        controller_.applicationOpenFile(path);
    controller_.applicationDidFinishLaunching();
    if (controller_.terminationRequested())
        return false;
    window_ = std::make_unique<MainWindow>(controller_, registry_, port_);
    port_.setWindow(window_.get());
    if (controller_.operationMode() == MainController::DropletRun) {
        // The run starts once the event loop runs, so that its end can end it.
        QTimer::singleShot(0, window_.get(), [this] { controller_.runDroplet(); });
        return true;
    }
    if (controller_.isInDropletEditMode())
        window_->enterDropletEditMode();
    window_->showMultistepPane();
    window_->updateUndo();
    window_->switchAction();
    window_->presentPreview(controller_.presentedPreviewMode());
    // Where the user left the window; the first time, a layout made for the screen.
    if (controller_.operationMode() == MainController::Normal &&
        !controller_.restoreWindowPosition())
        controller_.optimizeWindowFrameForScreen();
    window_->show();
    window_->raise();
    window_->activateWindow();
    return true;
}

void MorvaneApplication::openFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        controller_.applicationOpenFile(path);
    window_->raise();
    window_->activateWindow();
}

} // namespace morvane::gui
