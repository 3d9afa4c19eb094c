#pragma once
// The principal class of "Tessary Preferences.prefPane": the plug-in object
// the host loads. It owns the pane's logic and makes its view; each entry
// point forwards to the logic.
#include "PrefPane/PaneController.h"
#include "PrefPane/PreferencePane.h"
#include "PrefPane/QtAlertPort.h"

#include <QObject>
#include <memory>

class NetHalvardTSYPreferencesPanePref : public QObject, public tessary::PreferencePane {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TessaryPreferencePane_iid)
    Q_INTERFACES(tessary::PreferencePane)
public:
    void initWithBundle(const QString& bundlePath) override;
    QWidget* loadMainView() override;
    void mainViewDidLoad() override;
    void willSelect() override;
    void didSelect() override;
    bool shouldUnselect() override;
    void willUnselect() override;

    tessary::PaneController* controller() const { return controller_.get(); }

private:
    tessary::QtAlertPort alerts_;
    std::unique_ptr<tessary::PaneController> controller_;
};
