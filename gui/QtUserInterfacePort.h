#pragma once
// The application's logic meets the user here through real windows: alerts,
// the notices that can be silenced, the dialogs of a run, file panels, the
// progress window, and the window hooks, which go to the main window.
#include "MRVN7x/app/UserInterfacePort.h"
#include "gui/QtEventLoopHost.h"

#include <QPointer>
#include <QWidget>

namespace morvane::gui {

class MainWindow;
class ProgressWindow;

class QtUserInterfacePort : public UserInterfacePort {
public:
    QtUserInterfacePort();
    ~QtUserInterfacePort() override;
    void setWindow(MainWindow* window) { window_ = window; }
    // What the next open panel offers: files (the default) or folders.
    void setOpenPanelForFolders(bool folders) { openPanelForFolders_ = folders; }

    AlertAnswer runAlert(const Alert& alert) override;
    DialogChoice runDontShowAgainDialog(const std::string& windowResource,
                                        bool& dontShowAgain) override;
    RenameDialogAnswer runConfirmationDialog(const RenameDialogRequest& request) override;
    RenameDialogAnswer runConflictResolutionDialog(const RenameDialogRequest& request) override;
    SaveListOptions runSaveListDialog() override;
    std::optional<std::string> runSavePanel(const std::string& title) override;
    std::optional<std::string> runBundleSavePanel(const std::string& title,
                                                  const std::string& extension,
                                                  const std::string& folder) override;
    std::optional<std::vector<std::string>> runOpenPanel(const std::string& title,
                                                         const std::string& prompt,
                                                         const std::string& folder) override;
    void beep() override;
    void openHelpPage(const std::string& address) override;

    void switchAction() override;
    void showMultistepDrawer() override;
    void presentPreview(int previewMode) override;
    void fadeOutWindows(std::chrono::milliseconds duration) override;
    void terminateApplication() override;
    void runPreferencesWindow(PreferencesController& controller) override;
    ComponentChoices runComponentSetupWindow() override;
    bool canPlaceWindows() override;
    WindowFrames windowFrames() override;
    Frame screenFrame() override;
    void setWindowFrames(const WindowFrames& frames, std::chrono::milliseconds duration) override;
    std::optional<int> openPreviewDrawerWidth() override;

    void showProgress(const ProgressDisplay& display) override;
    void updateProgress(const ProgressDisplay& display) override;
    void closeProgress() override;
    EventLoopHost* eventLoopHost() override { return &host_; }
    void renamingProgress(std::size_t done, std::size_t total) override;
    void previewProgress(std::size_t done, std::size_t total) override;

private:
    QWidget* parentWidget() const;
    ProgressWindow& progressWindow();
    // Shows counted progress in the modal window and lets the window handle its events.
    void showCounted(std::size_t done, std::size_t total,
                     void (ProgressWindow::*show)(std::size_t, std::size_t));

    QPointer<MainWindow> window_;
    QtEventLoopHost host_;
    QPointer<ProgressWindow> progress_; // a child of the main window
    bool openPanelForFolders_ = false;
};

// Paths as the file system holds them, and back, for the file panels.
std::string pathFromQt(const QString& path);
QString pathToQt(const std::string& path);

} // namespace morvane::gui
