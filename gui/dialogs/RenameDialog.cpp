#include "gui/dialogs/RenameDialog.h"

#include "gui/PreviewModel.h"
#include "platform/PathText.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace morvane::gui {

RenameDialog::RenameDialog(Kind kind, QWidget* parent) : QDialog(parent), kind_(kind) {
    setWindowTitle(kind == Kind::Confirmation ? tr("Confirm Rename") : tr("Name Already Taken"));
    setObjectName(kind == Kind::Confirmation ? "ConfirmationDialog" : "ConflictResolutionDialog");
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* icon = new QLabel;
    const auto standard =
        kind == Kind::Confirmation ? QStyle::SP_MessageBoxQuestion : QStyle::SP_MessageBoxWarning;
    icon->setPixmap(style()->standardIcon(standard).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);
    top->addWidget(icon);
    heading_ = new QLabel;
    heading_->setWordWrap(true);
    QFont bold = heading_->font();
    bold.setBold(true);
    heading_->setFont(bold);
    top->addWidget(heading_, 1);
    layout->addLayout(top);

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    folder_ = new QLabel;
    folder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    currentName_ = new QLabel;
    currentName_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    newName_ = new QLineEdit;
    newName_->setMinimumWidth(360);
    form->addRow(tr("Folder:"), folder_);
    form->addRow(tr("Current name:"), currentName_);
    auto* newNameLabel = new QLabel(tr("&New name:"));
    newNameLabel->setBuddy(newName_);
    form->addRow(newNameLabel, newName_);
    layout->addLayout(form);

    // Shown when subfolders are processed: items of many folders pass by.
    information_ = new QWidget;
    auto* informationLayout = new QFormLayout(information_);
    informationLayout->setContentsMargins(0, 0, 0, 0);
    fullPath_ = new QLabel;
    fullPath_->setWordWrap(true);
    fullPath_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    informationLayout->addRow(tr("Full path:"), fullPath_);
    layout->addWidget(information_);

    auto* buttons = new QDialogButtonBox;
    auto* skipAll = buttons->addButton(tr("Skip &All"), QDialogButtonBox::RejectRole);
    auto* skip = buttons->addButton(tr("&Skip"), QDialogButtonBox::ActionRole);
    auto* renameAll = buttons->addButton(tr("Rename A&ll"), QDialogButtonBox::ActionRole);
    auto* rename = buttons->addButton(tr("&Rename"), QDialogButtonBox::AcceptRole);
    rename->setDefault(true);
    connect(rename, &QPushButton::clicked, this, [this] { finish(RenameChoice::Rename); });
    connect(skip, &QPushButton::clicked, this, [this] { finish(RenameChoice::Skip); });
    connect(skipAll, &QPushButton::clicked, this, [this] { finish(RenameChoice::SkipAll); });
    connect(renameAll, &QPushButton::clicked, this, [this] { finish(RenameChoice::RenameAll); });
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

RenameDialogAnswer RenameDialog::run(const RenameDialogRequest& request) {
    const RenameContext& context = request.context;
    heading_->setText(kind_ == Kind::Confirmation
                          ? tr("Rename “%1”?").arg(PreviewModel::readable(context.currentName))
                          : tr("An item called “%1” already exists in this folder. Rename “%2” "
                               "under another name, or skip it?")
                                .arg(PreviewModel::readable(context.newName),
                                     PreviewModel::readable(context.currentName)));
    const QString folder = PreviewModel::readable(PathText::fromUtf8(context.path));
    folder_->setText(fontMetrics().elidedText(folder, Qt::ElideMiddle, 420));
    folder_->setToolTip(folder);
    currentName_->setText(PreviewModel::readable(context.currentName));
    newName_->setText(QString::fromStdU16String(context.newName));
    fullPath_->setText(PreviewModel::readable(PathText::fromUtf8(context.fullPath)));
    information_->setVisible(request.showInformationView);
    const NameSelection selection = preselection(request);
    newName_->setSelection(static_cast<int>(selection.start), static_cast<int>(selection.length));
    newName_->setFocus();
    choice_ = RenameChoice::SkipAll; // Escape or closing the window stops the run
    exec();
    return {choice_, newName_->text().toStdU16String()};
}

void RenameDialog::finish(RenameChoice choice) {
    choice_ = choice;
    done(choice == RenameChoice::SkipAll ? Rejected : Accepted);
}

} // namespace morvane::gui
