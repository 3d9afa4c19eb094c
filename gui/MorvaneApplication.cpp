#include "gui/MorvaneApplication.h"

#include "MRVN7x/actions/ActionList.h"

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

void MorvaneApplication::launch(const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        controller_.applicationOpenFile(path);
    controller_.applicationDidFinishLaunching();
    window_ = std::make_unique<MainWindow>(controller_, registry_, port_);
    port_.setWindow(window_.get());
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
}

void MorvaneApplication::openFiles(const std::vector<std::string>& paths) {
    for (const std::string& path : paths)
        controller_.applicationOpenFile(path);
    window_->raise();
    window_->activateWindow();
}

} // namespace morvane::gui
