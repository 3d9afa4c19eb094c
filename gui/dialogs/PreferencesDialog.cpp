#include "gui/dialogs/PreferencesDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <functional>

namespace morvane::gui {
namespace {
QGroupBox* box(const QString& title, const QString& explanation) {
    auto* group = new QGroupBox(title);
    auto* layout = new QVBoxLayout(group);
    auto* text = new QLabel(explanation);
    text->setWordWrap(true);
    layout->addWidget(text);
    return group;
}

void addButtonRow(QGroupBox* group, std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* button : buttons)
        row->addWidget(button);
    static_cast<QVBoxLayout*>(group->layout())->addLayout(row);
}
} // namespace

PreferencesDialog::PreferencesDialog(PreferencesController& controller, QWidget* parent)
    : QDialog(parent), controller_(controller) {
    setObjectName("In Application Preference Pane");
    setWindowTitle(tr("Preferences"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildContextMenuBox());
    layout->addWidget(buildHotKeyBox());
    layout->addWidget(buildAppearanceBox());
    layout->addStretch();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] { controller_.ok(); });
    layout->addWidget(buttons);
    setMinimumWidth(480);
    controller_.windowDidLoad(*this);
}

QPushButton* PreferencesDialog::commandButton(const QString& name, const QString& text,
                                              const char* icon,
                                              void (PreferencesController::*command)()) {
    auto* button = new QPushButton(QIcon::fromTheme(icon), text);
    button->setObjectName(name);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this,
            [controller = &controller_, command] { std::invoke(command, *controller); });
    return button;
}

QWidget* PreferencesDialog::buildContextMenuBox() {
    QGroupBox* group =
        box(tr("File manager integration"),
            tr("Adds Morvane to the context menu of your file manager, so that selected files "
               "and folders open in Morvane."));
    contextMenuInstall_ = commandButton("installContextMenu", tr("&Install Context Menu"),
                                        "list-add", &PreferencesController::installContextMenu);
    contextMenuUninstall_ =
        commandButton("uninstallContextMenu", tr("&Remove Context Menu"), "list-remove",
                      &PreferencesController::uninstallContextMenu);
    addButtonRow(group, {contextMenuInstall_, contextMenuUninstall_});
    return group;
}

QWidget* PreferencesDialog::buildHotKeyBox() {
    QGroupBox* group =
        box(tr("Hot keys"), tr("The Tessary Preferences pane chooses the keyboard shortcut that "
                               "opens the file manager's selection in Morvane from anywhere."));
    prefPaneInstall_ = commandButton("installSystemPreferences", tr("Install &Preferences Pane"),
                                     "list-add", &PreferencesController::installSystemPreferences);
    prefPaneOpen_ = commandButton("launchSystemPreferences", tr("&Open Preferences Pane…"),
                                  "configure", &PreferencesController::launchSystemPreferences);
    prefPaneUninstall_ =
        commandButton("uninstallSystemPreferences", tr("R&emove Preferences Pane"), "list-remove",
                      &PreferencesController::uninstallSystemPreferences);
    addButtonRow(group, {prefPaneInstall_, prefPaneOpen_, prefPaneUninstall_});
    return group;
}

QWidget* PreferencesDialog::buildAppearanceBox() {
    auto* group = new QGroupBox(tr("Appearance"));
    auto* layout = new QVBoxLayout(group);
    fadeOut_ = new QCheckBox(tr("&Fade the window out when Morvane quits"));
    fadeOut_->setObjectName("useFadeOutEffect");
    connect(fadeOut_, &QCheckBox::toggled, this,
            [this](bool checked) { controller_.setUseFadeOutEffectBox(checked); });
    layout->addWidget(fadeOut_);
    return group;
}

void PreferencesDialog::showControls(const PreferencesControls& controls) {
    contextMenuInstall_->setVisible(controls.contextMenuInstall);
    contextMenuUninstall_->setVisible(controls.contextMenuUninstall);
    prefPaneInstall_->setVisible(controls.prefPaneInstall);
    prefPaneOpen_->setVisible(controls.prefPaneOpen);
    prefPaneUninstall_->setVisible(controls.prefPaneUninstall);
    const QSignalBlocker quiet(fadeOut_);
    fadeOut_->setChecked(controls.useFadeOutEffect);
}

void PreferencesDialog::endModal() {
    accept();
}

void PreferencesDialog::reject() {
    controller_.ok();
}

} // namespace morvane::gui
