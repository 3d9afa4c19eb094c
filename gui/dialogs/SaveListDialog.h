#pragma once
// The options of saving the file list: one tab per layout, and whether only
// items whose name changes are written.
#include "MRVN7x/app/UserInterfacePort.h"

#include <QDialog>

class QCheckBox;
class QTabWidget;

namespace morvane::gui {

class SaveListDialog : public QDialog {
    Q_OBJECT
public:
    explicit SaveListDialog(QWidget* parent);
    SaveListOptions run();

private:
    QTabWidget* layouts_;
    QCheckBox* onlyChanged_;
    DialogChoice choice_ = DialogChoice::Cancel;
};

} // namespace morvane::gui
