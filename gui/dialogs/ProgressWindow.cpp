#include "gui/dialogs/ProgressWindow.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace morvane::gui {

ProgressWindow::ProgressWindow(QWidget* parent) : QDialog(parent) {
    setObjectName("RenameProgressPanel");
    setWindowTitle(tr("Renaming"));
    setWindowModality(Qt::ApplicationModal);
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    auto* layout = new QVBoxLayout(this);
    step_ = new QLabel;
    QFont bold = step_->font();
    bold.setBold(true);
    step_->setFont(bold);
    bar_ = new QProgressBar;
    bar_->setTextVisible(false);
    status1_ = new QLabel;
    status2_ = new QLabel;
    for (QLabel* line : {status1_, status2_})
        line->setTextFormat(Qt::PlainText);
    status2_->setMinimumWidth(440);
    status2_->setMaximumWidth(440);
    layout->addWidget(step_);
    layout->addWidget(bar_);
    layout->addWidget(status1_);
    layout->addWidget(status2_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void ProgressWindow::showDisplay(const ProgressDisplay& display) {
    step_->setText(QString::fromStdString(display.status3));
    status1_->setText(QString::fromStdString(display.status1));
    // Long paths are shortened in their middle, where the folders are.
    status2_->setText(status2_->fontMetrics().elidedText(
        QString::fromStdString(display.status2), Qt::ElideMiddle, status2_->maximumWidth()));
    if (display.determinate) {
        bar_->setRange(0, std::max(display.maximum, 1));
        bar_->setValue(display.value);
    } else {
        bar_->setRange(0, 0);
    }
}

void ProgressWindow::showRenaming(std::size_t done, std::size_t total) {
    setWindowTitle(tr("Renaming"));
    showCount(tr("Renaming.."), tr("Renamed %1 of %2 items").arg(done).arg(total), done, total);
}

void ProgressWindow::showPreviewRows(std::size_t done, std::size_t total) {
    setWindowTitle(tr("Preview"));
    showCount(tr("Computing the new names for the preview.."),
              tr("%1 of %2 items").arg(done).arg(total), done, total);
}

void ProgressWindow::showCount(const QString& step, const QString& line, std::size_t done,
                               std::size_t total) {
    step_->setText(step);
    status1_->setText(line);
    status2_->clear();
    // The bar counts in thousandths, whatever the number of items.
    bar_->setRange(0, 1000);
    bar_->setValue(total == 0 ? 1000 : static_cast<int>(done * 1000 / total));
}

} // namespace morvane::gui
