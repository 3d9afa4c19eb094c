#include "gui/dialogs/DontShowAgainDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace morvane::gui {

const std::vector<NoticeText>& DontShowAgainDialog::notices() {
    using C = DialogChoice;
    static const std::vector<NoticeText> all = {
        {"Preview Cutoff Information",
         "The preview lists only the first items of large folders",
         "To keep the window quick, the preview stops after the first 250 items found inside "
         "the folders you added. Renaming always takes every item, listed or not.",
         {{"OK", C::Ok}}},
        {"Conflicts Detected Dialog",
         "Some items would get the same name",
         "The items marked in the preview would end up with the same name in the same folder. "
         "The first of them takes the name; each of the others meets an existing item and is "
         "skipped, or you choose another name for it.\n\nDo you want to rename anyway?",
         {{"Rename Anyway", C::Ok}, {"Cancel", C::Cancel}}},
        {"No Files Selected Info Dialog",
         "There is nothing to rename",
         "Add files or folders first: drop them on the window, or choose File > Add Files. If "
         "you added folders, the options Files, Folders and Subfolders decide which of their "
         "items are renamed.",
         {{"OK", C::Ok}, {"Help", C::Cancel}}},
        {"Inconsistent Settings Dialog",
         "Neither files nor folders are to be renamed",
         "The options Files and Folders are both off, so no item can be renamed. Morvane turns "
         "both on; check the preview, then rename again.",
         {{"Turn Both On", C::Ok}, {"Cancel", C::Help}}},
        {"Droplet Information",
         "Droplets rename what you drop on them",
         "A droplet keeps the current steps and options. Drop files or folders on it to rename "
         "them with these settings, without opening this window first.",
         {{"Create Droplet", C::Ok}, {"Cancel", C::Cancel}, {"Help", C::Help}}},
        {"Droplet Edit Mode Information",
         "You are editing a droplet",
         "Change its steps and options, then choose Save to store them in the droplet.",
         {{"OK", C::Ok}}},
        {"Simple Template File List Information",
         "The file list was saved with new names only",
         "Each line holds one new name, in the order of the list. To rename items after it "
         "later, use the step \"Rename from list\": it gives the names to the items in its own "
         "sort order. Save with full paths to name exactly the items listed.",
         {{"OK", C::Ok}, {"Help", C::Help}}},
    };
    return all;
}

const NoticeText* DontShowAgainDialog::noticeFor(const std::string& resource) {
    for (const NoticeText& notice : notices())
        if (resource == notice.resource)
            return &notice;
    return nullptr;
}

DontShowAgainDialog::DontShowAgainDialog(const NoticeText& notice, QWidget* parent)
    : QDialog(parent) {
    setObjectName(notice.resource);
    setWindowTitle(tr("Morvane"));
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* icon = new QLabel;
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);
    top->addWidget(icon);
    auto* texts = new QVBoxLayout;
    auto* title = new QLabel(tr(notice.title));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    title->setWordWrap(true);
    auto* text = new QLabel(tr(notice.text));
    text->setWordWrap(true);
    text->setMinimumWidth(380);
    texts->addWidget(title);
    texts->addWidget(text);
    top->addLayout(texts, 1);
    layout->addLayout(top);
    box_ = new QCheckBox(tr("&Do not show this message again"));
    layout->addWidget(box_);
    auto* buttons = new QDialogButtonBox;
    bool first = true;
    for (const auto& [label, choice] : notice.buttons) {
        const auto role = choice == DialogChoice::Help ? QDialogButtonBox::HelpRole
                          : first                      ? QDialogButtonBox::AcceptRole
                                                       : QDialogButtonBox::RejectRole;
        QPushButton* button = buttons->addButton(tr(label), role);
        button->setDefault(first);
        connect(button, &QPushButton::clicked, this, [this, choice = choice] {
            choice_ = choice;
            accept();
        });
        first = false;
    }
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

DialogChoice DontShowAgainDialog::run(bool& dontShowAgain) {
    choice_ = DialogChoice::Cancel; // Escape
    exec();
    dontShowAgain = box_->isChecked();
    return choice_;
}

} // namespace morvane::gui
