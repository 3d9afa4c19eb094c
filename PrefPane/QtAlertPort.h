#pragma once
// The pane's alerts as modal Qt message boxes over its view.
#include "PrefPane/AlertPort.h"

#include <QPointer>
#include <QWidget>

namespace tessary {

class QtAlertPort : public AlertPort {
public:
    void setParent(QWidget* parent) { parent_ = parent; }
    AlertAnswer runAlert(const Alert& alert) override;
    void openHelpPage(const std::string& address) override;

private:
    QPointer<QWidget> parent_;
};

} // namespace tessary
