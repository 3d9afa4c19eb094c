#pragma once
// The "Component Setup" window of a first launch: whether to add Morvane to
// the file manager's context menu, and whether to install the hot-key
// preferences. The first choice of each group installs.
#include "MRVN7x/app/UserInterfacePort.h"

#include <QDialog>

class QRadioButton;

namespace morvane::gui {

class ComponentsSetupWindowController : public QDialog {
    Q_OBJECT
public:
    explicit ComponentsSetupWindowController(QWidget* parent = nullptr);
    // Shows the window modally; the choices once it is closed (by OK or otherwise).
    ComponentChoices run();

private:
    QWidget* choiceGroup(const QString& title, const QString& explanation, const QString& install,
                         const QString& leave, QRadioButton*& first);

    QRadioButton* installCM_ = nullptr;
    QRadioButton* installPP_ = nullptr;
};

} // namespace morvane::gui
