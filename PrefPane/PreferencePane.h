#pragma once
// The interface between the preferences host and a preference pane plug-in.
// The host calls, in this order: initWithBundle, loadMainView,
// mainViewDidLoad, willSelect, didSelect, and when the pane is left
// shouldUnselect (false keeps it shown) and willUnselect.
#include <QString>
#include <QtPlugin>

class QWidget;

namespace tessary {

class PreferencePane {
public:
    virtual ~PreferencePane() = default;
    // init: the pane's bundle folder ("X.prefPane").
    virtual void initWithBundle(const QString& bundlePath) = 0;
    // The pane's view, owned by the caller from then on.
    virtual QWidget* loadMainView() = 0;
    virtual void mainViewDidLoad() = 0;
    virtual void willSelect() = 0;
    virtual void didSelect() = 0;
    virtual bool shouldUnselect() = 0;
    virtual void willUnselect() = 0;
};

} // namespace tessary

#define TessaryPreferencePane_iid "net.halvard.tessary.PreferencePane/1"
Q_DECLARE_INTERFACE(tessary::PreferencePane, TessaryPreferencePane_iid)
