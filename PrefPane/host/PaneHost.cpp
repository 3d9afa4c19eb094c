#include "PrefPane/host/PaneHost.h"

#include "platform/Bundle.h"
#include "platform/PlistValue.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QJsonObject>
#include <QVBoxLayout>

namespace tessary {

// The host's window: closing it leaves the pane, unless the pane refuses.
class PaneWindow : public QWidget {
public:
    explicit PaneWindow(PaneHost& host) : host_(host) {
        setWindowTitle(QStringLiteral("Tessary Preferences"));
        new QVBoxLayout(this);
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        if (host_.leave())
            event->accept();
        else
            event->ignore();
    }

private:
    PaneHost& host_;
};

namespace {
QString principalClass(const std::string& bundlePath) {
    const auto info = morvane::plist::readFile(bundlePath + "/Contents/Info.plist");
    const morvane::plist::Dictionary* dictionary = info ? info->asDictionary() : nullptr;
    const morvane::plist::Value* name =
        dictionary ? morvane::plist::find(*dictionary, "NSPrincipalClass") : nullptr;
    return name && name->asString() ? QString::fromStdString(*name->asString()) : QString();
}
} // namespace

PaneHost::PaneHost() = default;

PaneHost::~PaneHost() {
    window_.reset(); // the pane's view goes before the pane
    if (loader_.isLoaded())
        loader_.unload();
}

QString PaneHost::load(const QString& bundlePath) {
    bundlePath_ = QFileInfo(bundlePath).absoluteFilePath();
    const std::string bundle = bundlePath_.toStdString();
    const QString expected = principalClass(bundle);
    if (expected.isEmpty())
        return QStringLiteral("%1 has no Contents/Info.plist naming its NSPrincipalClass")
            .arg(bundlePath);
    loader_.setFileName(QString::fromStdString(morvane::Bundle::executablePath(bundle)));
    const QString className = loader_.metaData().value("className").toString();
    if (className.isEmpty())
        return loader_.errorString();
    if (className != expected)
        return QStringLiteral("the plug-in's class is %1, not %2").arg(className, expected);
    pane_ = qobject_cast<PreferencePane*>(loader_.instance());
    if (!pane_)
        return QStringLiteral("%1 is no preference pane: %2")
            .arg(loader_.fileName(), loader_.errorString());
    return {};
}

void PaneHost::call(const char* name, const std::function<void()>& entryPoint) {
    if (trace_)
        trace_(name);
    entryPoint();
}

void PaneHost::select() {
    window_ = std::make_unique<PaneWindow>(*this);
    call("init", [&] { pane_->initWithBundle(bundlePath_); });
    window_->layout()->addWidget(pane_->loadMainView());
    call("mainViewDidLoad", [&] { pane_->mainViewDidLoad(); });
    call("willSelect", [&] { pane_->willSelect(); });
    window_->resize(760, 320);
    window_->show();
    call("didSelect", [&] { pane_->didSelect(); });
    selected_ = true;
}

bool PaneHost::leave() {
    if (!selected_)
        return true;
    bool agreed = false;
    call("shouldUnselect", [&] { agreed = pane_->shouldUnselect(); });
    if (!agreed)
        return false;
    call("willUnselect", [&] { pane_->willUnselect(); });
    selected_ = false;
    return true;
}

QWidget* PaneHost::window() const {
    return window_.get();
}

} // namespace tessary
