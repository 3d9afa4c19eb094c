#include "gui/QtUserInterfacePort.h"

#include "gui/MainWindow.h"
#include "gui/WindowGeometry.h"
#include "gui/dialogs/ComponentsSetupWindowController.h"
#include "gui/dialogs/DontShowAgainDialog.h"
#include "gui/dialogs/PreferencesDialog.h"
#include "gui/dialogs/ProgressWindow.h"
#include "gui/dialogs/RenameDialog.h"
#include "gui/dialogs/SaveListDialog.h"
#include "platform/SystemLog.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace morvane::gui {

std::string pathFromQt(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QString pathToQt(const std::string& path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

QtUserInterfacePort::QtUserInterfacePort() = default;

QtUserInterfacePort::~QtUserInterfacePort() {
    delete progress_.data();
}

QWidget* QtUserInterfacePort::parentWidget() const {
    if (progress_ && progress_->isVisible())
        return progress_;
    return window_;
}

AlertAnswer QtUserInterfacePort::runAlert(const Alert& alert) {
    QMessageBox box(parentWidget());
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setIcon(alert.style == AlertStyle::Critical  ? QMessageBox::Critical
                : alert.style == AlertStyle::Warning ? QMessageBox::Warning
                                                     : QMessageBox::Information);
    box.setText(QString::fromStdString(alert.title));
    box.setInformativeText(QString::fromStdString(alert.text));
    const AlertAnswer answers[] = {AlertAnswer::First, AlertAnswer::Second, AlertAnswer::Third};
    std::vector<std::pair<QAbstractButton*, AlertAnswer>> buttons;
    const std::vector<std::string> titles =
        alert.buttons.empty() ? std::vector<std::string>{"OK"} : alert.buttons;
    for (size_t i = 0; i < titles.size() && i < 3; ++i) {
        const auto role = i == 0 ? QMessageBox::AcceptRole : QMessageBox::RejectRole;
        QPushButton* button = box.addButton(QString::fromStdString(titles[i]), role);
        if (i == 0)
            box.setDefaultButton(button);
        if (i == 1 || titles.size() == 1)
            box.setEscapeButton(button);
        buttons.emplace_back(button, answers[i]);
    }
    box.exec();
    for (const auto& [button, answer] : buttons)
        if (box.clickedButton() == button)
            return answer;
    return titles.size() > 1 ? AlertAnswer::Second : AlertAnswer::First;
}

DialogChoice QtUserInterfacePort::runDontShowAgainDialog(const std::string& windowResource,
                                                         bool& dontShowAgain) {
    dontShowAgain = false;
    const NoticeText* notice = DontShowAgainDialog::noticeFor(windowResource);
    if (!notice) {
        SystemLog::error("Internal error: no window \"" + windowResource + "\".");
        return DialogChoice::Cancel;
    }
    DontShowAgainDialog dialog(*notice, parentWidget());
    return dialog.run(dontShowAgain);
}

RenameDialogAnswer QtUserInterfacePort::runConfirmationDialog(const RenameDialogRequest& request) {
    RenameDialog dialog(RenameDialog::Kind::Confirmation, parentWidget());
    return dialog.run(request);
}

RenameDialogAnswer
QtUserInterfacePort::runConflictResolutionDialog(const RenameDialogRequest& request) {
    RenameDialog dialog(RenameDialog::Kind::Conflict, parentWidget());
    return dialog.run(request);
}

SaveListOptions QtUserInterfacePort::runSaveListDialog() {
    SaveListDialog dialog(parentWidget());
    return dialog.run();
}

void QtUserInterfacePort::runPreferencesWindow(PreferencesController& controller) {
    PreferencesDialog dialog(controller, parentWidget());
    dialog.exec();
}

std::optional<std::string> QtUserInterfacePort::runSavePanel(const std::string& title) {
    const QString path = QFileDialog::getSaveFileName(parentWidget(), QString::fromStdString(title),
                                                      QDir::homePath() + "/File List.txt");
    if (path.isEmpty())
        return std::nullopt;
    return pathFromQt(path);
}

// A bundle is a folder on Linux, so the panel must not take an existing
// folder's name as "open this folder": it only names the new item.
std::optional<std::string> QtUserInterfacePort::runBundleSavePanel(const std::string& title,
                                                                   const std::string& extension,
                                                                   const std::string& folder) {
    QFileDialog panel(parentWidget(), QString::fromStdString(title), pathToQt(folder));
    panel.setObjectName("BundleSavePanel");
    panel.setAcceptMode(QFileDialog::AcceptSave);
    panel.setFileMode(QFileDialog::AnyFile);
    const QString suffix = QString::fromStdString(extension);
    panel.setNameFilter(QObject::tr("Droplets (*.%1)").arg(suffix));
    panel.setDefaultSuffix(suffix);
    if (panel.exec() != QDialog::Accepted || panel.selectedFiles().isEmpty())
        return std::nullopt;
    return pathFromQt(panel.selectedFiles().front());
}

std::optional<std::vector<std::string>>
QtUserInterfacePort::runOpenPanel(const std::string& title, const std::string& prompt,
                                  const std::string& folder) {
    QFileDialog panel(parentWidget(), QString::fromStdString(title), pathToQt(folder));
    panel.setLabelText(QFileDialog::Accept, QString::fromStdString(prompt));
    panel.setFileMode(openPanelForFolders_ ? QFileDialog::Directory : QFileDialog::ExistingFiles);
    openPanelForFolders_ = false;
    if (panel.exec() != QDialog::Accepted)
        return std::nullopt;
    std::vector<std::string> paths;
    for (const QString& path : panel.selectedFiles())
        paths.push_back(pathFromQt(path));
    return paths;
}

void QtUserInterfacePort::beep() {
    QApplication::beep();
}

void QtUserInterfacePort::openHelpPage(const std::string& address) {
    if (!QDesktopServices::openUrl(QUrl(QString::fromStdString(address))))
        SystemLog::warning("Could not open " + address);
}

void QtUserInterfacePort::switchAction() {
    if (window_)
        window_->switchAction();
}

void QtUserInterfacePort::showMultistepDrawer() {
    if (window_)
        window_->showMultistepPane();
}

void QtUserInterfacePort::presentPreview(int previewMode) {
    if (window_)
        window_->presentPreview(previewMode);
}

void QtUserInterfacePort::fadeOutWindows(std::chrono::milliseconds duration) {
    if (window_)
        window_->fadeOut(duration);
}

ComponentChoices QtUserInterfacePort::runComponentSetupWindow() {
    ComponentsSetupWindowController window(parentWidget());
    return window.run();
}

bool QtUserInterfacePort::canPlaceWindows() {
    return window_ && WindowGeometry::canPlaceWindows();
}

WindowFrames QtUserInterfacePort::windowFrames() {
    return window_ ? window_->windowFrames() : WindowFrames{};
}

Frame QtUserInterfacePort::screenFrame() {
    return WindowGeometry::visibleScreenFrame(window_);
}

void QtUserInterfacePort::setWindowFrames(const WindowFrames& frames,
                                          std::chrono::milliseconds duration) {
    if (window_)
        window_->setWindowFrames(frames, duration);
}

std::optional<int> QtUserInterfacePort::openPreviewDrawerWidth() {
    return window_ ? window_->openPreviewDrawerWidth() : std::nullopt;
}

void QtUserInterfacePort::terminateApplication() {
    if (window_)
        window_->close();
    QApplication::quit();
}

ProgressWindow& QtUserInterfacePort::progressWindow() {
    if (!progress_)
        progress_ = new ProgressWindow(window_);
    return *progress_;
}

void QtUserInterfacePort::showProgress(const ProgressDisplay& display) {
    ProgressWindow& window = progressWindow();
    window.showDisplay(display);
    window.show();
    window.raise();
}

void QtUserInterfacePort::updateProgress(const ProgressDisplay& display) {
    progressWindow().showDisplay(display);
}

void QtUserInterfacePort::closeProgress() {
    if (progress_)
        progress_->hide();
}

// The renames run on the main thread: between them the window gets its
// events, at most every 50 ms, so it repaints and the bar moves.
void QtUserInterfacePort::renamingProgress(std::size_t done, std::size_t total) {
    showCounted(done, total, &ProgressWindow::showRenaming);
}

void QtUserInterfacePort::previewProgress(std::size_t done, std::size_t total) {
    showCounted(done, total, &ProgressWindow::showPreviewRows);
}

void QtUserInterfacePort::showCounted(std::size_t done, std::size_t total,
                                      void (ProgressWindow::*show)(std::size_t, std::size_t)) {
    ProgressWindow& window = progressWindow();
    if (done >= total) {
        window.hide();
        return;
    }
    (window.*show)(done, total);
    if (!window.isVisible())
        window.show();
    host_.processPendingEvents();
}

} // namespace morvane::gui
