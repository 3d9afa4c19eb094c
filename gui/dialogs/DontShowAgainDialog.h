#pragma once
// The notices the user may silence, each a window resource by name: its
// texts, its buttons with the choice each one answers, and the box
// "Do not show this message again".
#include "MRVN7x/app/UserInterfacePort.h"

#include <QDialog>

class QCheckBox;

#include <string>
#include <vector>

namespace morvane::gui {

struct NoticeText {
    const char* resource;
    const char* title;
    const char* text;
    // Buttons from the default one on: the text and the choice it answers.
    std::vector<std::pair<const char*, DialogChoice>> buttons;
};

class DontShowAgainDialog : public QDialog {
    Q_OBJECT
public:
    // Every notice the windows know, by resource name.
    static const std::vector<NoticeText>& notices();
    static const NoticeText* noticeFor(const std::string& resource);

    DontShowAgainDialog(const NoticeText& notice, QWidget* parent);
    DialogChoice run(bool& dontShowAgain);

private:
    DialogChoice choice_ = DialogChoice::None;
    QCheckBox* box_;
};

} // namespace morvane::gui
