#pragma once
// The preferences window: the file-manager context menu and the hot-key
// preference pane (install, remove, open) and the fade-out box. Each control
// calls one PreferencesController operation; the controller says which
// buttons show.
#include "MRVN7x/app/PreferencesController.h"

#include <QDialog>

class QCheckBox;
class QPushButton;

namespace morvane::gui {

class PreferencesDialog : public QDialog, public PreferencesView {
    Q_OBJECT
public:
    PreferencesDialog(PreferencesController& controller, QWidget* parent);

    void showControls(const PreferencesControls& controls) override;
    void endModal() override;

    // Closing the window by its title bar or Escape is OK: installs and
    // removals have already happened and may want the file manager restarted.
    void reject() override;

private:
    QWidget* buildContextMenuBox();
    QWidget* buildHotKeyBox();
    QWidget* buildAppearanceBox();
    QPushButton* commandButton(const QString& name, const QString& text, const char* icon,
                               void (PreferencesController::*command)());

    PreferencesController& controller_;
    QPushButton* contextMenuInstall_ = nullptr;
    QPushButton* contextMenuUninstall_ = nullptr;
    QPushButton* prefPaneInstall_ = nullptr;
    QPushButton* prefPaneOpen_ = nullptr;
    QPushButton* prefPaneUninstall_ = nullptr;
    QCheckBox* fadeOut_ = nullptr;
};

} // namespace morvane::gui
