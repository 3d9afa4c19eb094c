#pragma once
// The progress window of a rename run: the step the batch is in, what it is
// working on, and a bar; then the renames themselves. It is modal, so nothing
// else in the window can start while a run goes on.
#include "MRVN7x/app/UserInterfacePort.h"

#include <QDialog>

class QLabel;
class QProgressBar;

namespace morvane::gui {

class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget* parent);
    void showDisplay(const ProgressDisplay& display);
    // The renames after the batch, and the rows of a long preview.
    void showRenaming(std::size_t done, std::size_t total);
    void showPreviewRows(std::size_t done, std::size_t total);

protected:
    void reject() override {} // the run cannot be left halfway from here

private:
    void showCount(const QString& step, const QString& line, std::size_t done, std::size_t total);

    QLabel* step_;
    QLabel* status1_;
    QLabel* status2_;
    QProgressBar* bar_;
};

} // namespace morvane::gui
