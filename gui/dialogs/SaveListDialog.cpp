#include "gui/dialogs/SaveListDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace morvane::gui {
namespace {
QWidget* layoutPage(const QString& description, const QString& example) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* text = new QLabel(description);
    text->setWordWrap(true);
    auto* sample = new QLabel(example);
    sample->setTextFormat(Qt::PlainText);
    sample->setFont(QFont("monospace"));
    sample->setStyleSheet("padding: 6px;");
    sample->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(text);
    layout->addWidget(sample);
    layout->addStretch();
    return page;
}
} // namespace

SaveListDialog::SaveListDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("Save File List Dialog");
    setWindowTitle(tr("Save File List"));
    auto* layout = new QVBoxLayout(this);
    layouts_ = new QTabWidget;
    layouts_->addTab(layoutPage(tr("Each line holds an item's current name and its new name, "
                                   "separated by a tab."),
                                "IMG_0001.jpg\tHoliday 001.jpg\nIMG_0002.jpg\tHoliday 002.jpg"),
                     tr("Names and New Names"));
    layouts_->addTab(layoutPage(tr("Each line holds a new name. \"Rename from list\" reads such "
                                   "a file as a list of names."),
                                "Holiday 001.jpg\nHoliday 002.jpg"),
                     tr("New Names Only"));
    layouts_->addTab(layoutPage(tr("Each line holds an item's full path and its new name. "
                                   "\"Rename from list\" renames exactly these items after it."),
                                "/home/ann/Photos/IMG_0001.jpg\tHoliday 001.jpg"),
                     tr("Full Paths and New Names"));
    layout->addWidget(layouts_);
    onlyChanged_ = new QCheckBox(tr("&Only items whose name changes"));
    layout->addWidget(onlyChanged_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel |
                                         QDialogButtonBox::Help);
    connect(buttons->button(QDialogButtonBox::Save), &QPushButton::clicked, this, [this] {
        choice_ = DialogChoice::Ok;
        accept();
    });
    connect(buttons->button(QDialogButtonBox::Help), &QPushButton::clicked, this, [this] {
        choice_ = DialogChoice::Help;
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

SaveListOptions SaveListDialog::run() {
    choice_ = DialogChoice::Cancel;
    exec();
    return {choice_, layouts_->currentIndex(), onlyChanged_->isChecked()};
}

} // namespace morvane::gui
