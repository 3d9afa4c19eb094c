#include "gui/dialogs/ComponentsSetupWindowController.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace morvane::gui {

ComponentsSetupWindowController::ComponentsSetupWindowController(QWidget* parent)
    : QDialog(parent) {
    setObjectName("Component Setup");
    setWindowTitle(tr("Component Setup"));
    auto* layout = new QVBoxLayout(this);
    auto* welcome = new QLabel(tr("<b>Welcome to Morvane.</b><br>Morvane can add two helpers to "
                                  "your desktop. You can change this later in Preferences."));
    welcome->setWordWrap(true);
    layout->addWidget(welcome);
    layout->addWidget(choiceGroup(tr("File manager integration"),
                                  tr("A \"Rename with Morvane\" entry in the context menu of "
                                     "Files (Nautilus), Dolphin, Nemo and Thunar."),
                                  tr("&Add the context menu entry"), tr("Do &not add it"),
                                  installCM_));
    layout->addWidget(choiceGroup(tr("Hot keys"),
                                  tr("Preferences for global hot keys that open Morvane with the "
                                     "files selected in the file manager."),
                                  tr("&Install the hot-key preferences"),
                                  tr("Do n&ot install them"), installPP_));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    setMinimumWidth(460);
}

QWidget* ComponentsSetupWindowController::choiceGroup(const QString& title,
                                                      const QString& explanation,
                                                      const QString& install, const QString& leave,
                                                      QRadioButton*& first) {
    auto* group = new QGroupBox(title);
    auto* layout = new QVBoxLayout(group);
    auto* text = new QLabel(explanation);
    text->setWordWrap(true);
    layout->addWidget(text);
    first = new QRadioButton(install);
    auto* second = new QRadioButton(leave);
    first->setChecked(true);
    auto* buttons = new QButtonGroup(group);
    for (QRadioButton* button : {first, second}) {
        buttons->addButton(button);
        layout->addWidget(button);
    }
    return group;
}

ComponentChoices ComponentsSetupWindowController::run() {
    exec();
    return {installCM_->isChecked(), installPP_->isChecked()};
}

} // namespace morvane::gui
