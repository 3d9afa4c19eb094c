#pragma once
// The confirmation and the conflict-resolution dialog of a rename run: the
// item, its proposed name in an editable field with the manual step's part
// preselected, and Rename / Skip / Skip All / Rename All.
#include "MRVN7x/app/UserInterfacePort.h"

#include <QDialog>

class QLabel;
class QLineEdit;

namespace morvane::gui {

class RenameDialog : public QDialog {
    Q_OBJECT
public:
    enum class Kind { Confirmation, Conflict };
    RenameDialog(Kind kind, QWidget* parent);

    // Shows the dialog for one item; Escape stops the run (Skip All).
    RenameDialogAnswer run(const RenameDialogRequest& request);
    QLineEdit* nameField() const { return newName_; }

private:
    void finish(RenameChoice choice);

    Kind kind_;
    QLabel* heading_;
    QLabel* folder_;
    QLabel* currentName_;
    QLineEdit* newName_;
    QWidget* information_;
    QLabel* fullPath_;
    RenameChoice choice_ = RenameChoice::SkipAll;
};

} // namespace morvane::gui
