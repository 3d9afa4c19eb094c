#include "PrefPane/QtAlertPort.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include <algorithm>

namespace tessary {

AlertAnswer QtAlertPort::runAlert(const Alert& alert) {
    QMessageBox box(parent_);
    box.setIcon(alert.style == AlertStyle::Informational ? QMessageBox::Information
                : alert.style == AlertStyle::Critical    ? QMessageBox::Critical
                                                         : QMessageBox::Warning);
    box.setText(QString::fromStdString(alert.title));
    box.setInformativeText(QString::fromStdString(alert.text));
    std::vector<QPushButton*> buttons;
    for (const std::string& title : alert.buttons)
        buttons.push_back(box.addButton(QString::fromStdString(title), QMessageBox::ActionRole));
    if (buttons.empty())
        buttons.push_back(box.addButton(QMessageBox::Ok));
    box.setDefaultButton(buttons.front());
    // Escape and closing the box mean the answer that changes nothing.
    QPushButton* escape = buttons.back();
    for (QPushButton* button : buttons)
        if (button->text().contains("Cancel") || button->text().startsWith("Do Not"))
            escape = button;
    box.setEscapeButton(escape);
    box.exec();
    const auto clicked = std::find(buttons.begin(), buttons.end(), box.clickedButton());
    switch (clicked - buttons.begin()) {
    case 0:
        return AlertAnswer::First;
    case 1:
        return AlertAnswer::Second;
    case 2:
        return AlertAnswer::Third;
    }
    return AlertAnswer::First;
}

void QtAlertPort::openHelpPage(const std::string& address) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(address)));
}

} // namespace tessary
