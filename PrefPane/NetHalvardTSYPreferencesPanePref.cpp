#include "PrefPane/NetHalvardTSYPreferencesPanePref.h"

#include "PrefPane/PaneView.h"

void NetHalvardTSYPreferencesPanePref::initWithBundle(const QString& bundlePath) {
    controller_ = std::make_unique<tessary::PaneController>(bundlePath.toStdString(), alerts_);
    controller_->init();
}

QWidget* NetHalvardTSYPreferencesPanePref::loadMainView() {
    auto* view = new tessary::PaneView(*controller_);
    alerts_.setParent(view);
    return view;
}

void NetHalvardTSYPreferencesPanePref::mainViewDidLoad() {
    controller_->mainViewDidLoad();
}

void NetHalvardTSYPreferencesPanePref::willSelect() {
    controller_->willSelect();
}

void NetHalvardTSYPreferencesPanePref::didSelect() {
    controller_->didSelect();
}

bool NetHalvardTSYPreferencesPanePref::shouldUnselect() {
    return controller_->shouldUnselect();
}

void NetHalvardTSYPreferencesPanePref::willUnselect() {
    controller_->willUnselect();
}
