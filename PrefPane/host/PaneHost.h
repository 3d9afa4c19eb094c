#pragma once
// The preferences host: loads a preference pane bundle's plug-in, shows its
// view in a window and drives its entry points in their order; leaving the
// pane (closing the window) asks shouldUnselect first.
#include "PrefPane/PreferencePane.h"

#include <QPluginLoader>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

namespace tessary {

class PaneWindow;

class PaneHost {
public:
    PaneHost();
    ~PaneHost();

    // Loads the plug-in of the bundle ("X.prefPane"): Contents/bin/<CFBundleExecutable>,
    // whose class must be the bundle's NSPrincipalClass. Empty on success,
    // else why it failed.
    QString load(const QString& bundlePath);
    // init, the view, mainViewDidLoad, willSelect, the window shown, didSelect.
    void select();
    // shouldUnselect, and when it agrees willUnselect; true when left.
    bool leave();

    QWidget* window() const;
    // Called with the name of every entry point as it is called.
    void setTrace(std::function<void(const char*)> trace) { trace_ = std::move(trace); }

private:
    void call(const char* name, const std::function<void()>& entryPoint);

    QPluginLoader loader_;
    PreferencePane* pane_ = nullptr;
    QString bundlePath_;
    std::unique_ptr<PaneWindow> window_;
    std::function<void(const char*)> trace_;
    bool selected_ = false;
};

} // namespace tessary
