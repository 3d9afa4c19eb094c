// morvane-screenshots FOLDER: pictures of the window for the documentation,
// made from the real widgets over real files in a temporary folder: the main
// window with a three-step chain, the confirmation dialog, the progress
// window of a large run, the steps pane, the preferences window, and the
// window in a dark palette.
#include "MRVN7x/actions/ActionList.h"
#include "MRVN7x/actions/CompositeRenameAction.h"
#include "MRVN7x/app/PreferencesController.h"
#include "MorvaneVersion.h"
#include "gui/MorvaneApplication.h"
#include "gui/dialogs/ComponentsSetupWindowController.h"
#include "gui/dialogs/PreferencesDialog.h"
#include "gui/dialogs/ProgressWindow.h"
#include "gui/dialogs/RenameDialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPalette>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using namespace morvane;
using namespace morvane::gui;

namespace {
void settle(int ms = 400) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void save(QWidget& widget, const QString& folder, const char* name) {
    settle();
    const QString path = folder + "/" + name;
    if (!widget.grab().save(path))
        std::fprintf(stderr, "could not write %s\n", path.toLocal8Bit().constData());
}

plist::Dictionary step(const char* name, plist::Dictionary parameters) {
    return {{"action name", plist::Value(name)},
            {"action parameter list", plist::Value(std::move(parameters))}};
}

QPalette darkPalette() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x2b, 0x2d, 0x31));
    dark.setColor(QPalette::WindowText, QColor(0xe6, 0xe6, 0xe6));
    dark.setColor(QPalette::Base, QColor(0x1f, 0x20, 0x23));
    dark.setColor(QPalette::AlternateBase, QColor(0x27, 0x29, 0x2d));
    dark.setColor(QPalette::Text, QColor(0xe6, 0xe6, 0xe6));
    dark.setColor(QPalette::Button, QColor(0x35, 0x37, 0x3c));
    dark.setColor(QPalette::ButtonText, QColor(0xe6, 0xe6, 0xe6));
    dark.setColor(QPalette::Highlight, QColor(0x3d, 0x8b, 0xd9));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::ToolTipBase, QColor(0x35, 0x37, 0x3c));
    dark.setColor(QPalette::ToolTipText, QColor(0xe6, 0xe6, 0xe6));
    dark.setColor(QPalette::PlaceholderText, QColor(0x90, 0x90, 0x90));
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
    return dark;
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName("Morvane");
    QApplication::setApplicationVersion(MORVANE_VERSION);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    if (argc < 2) {
        std::fprintf(stderr, "usage: morvane-screenshots FOLDER\n");
        return 2;
    }
    const QString out = QDir(argv[1]).absolutePath();
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
    qputenv("XDG_STATE_HOME", (home.path() + "/state").toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home.path() + "/data").toLocal8Bit());
    QDir(home.path()).mkpath("Photos/Iceland 2026");
    const QString photos = home.path() + "/Photos/Iceland 2026";
    const char* names[] = {"IMG_2041.JPG", "IMG_2042.JPG", "IMG_2043.JPG", "IMG_2044.JPG",
                           "IMG_2045.JPG", "IMG_2046.JPG", "IMG_2047.JPG", "IMG_2048.JPG",
                           "IMG_2049.JPG", "IMG_2050.JPG", "IMG_2051.JPG", "IMG_2052.JPG"};
    for (const char* name : names)
        QFile(photos + "/" + name).open(QIODevice::WriteOnly);

    UserDefaults defaults("net.halvard.mrvn7", (home.path() + "/config/ossvale").toStdString());
    ActionList registry(defaults);
    // A window placed before: the preview stays in its drawer, as the pictures show it.
    defaults.setObject("main window position x", plist::Value(40));
    defaults.setObject("main window position y", plist::Value(900));
    MorvaneApplication morvane(defaults, registry);
    morvane.launch({photos.toStdString()});
    MainController& controller = morvane.controller();
    controller.globalSettings().setValueForKey("processSubfolders", plist::Value(1));
    controller.globalSettings().setValueForKey("processFolders", plist::Value(0));
    controller.globalSettings().setValueForKey("discloseAdvancedOptions", plist::Value(1));
    plist::Array chain = {
        plist::Value(step("Completely rename", {{"newName", plist::Value("Iceland ")},
                                                {"fragmentSelection", plist::Value(1)}})),
        plist::Value(step("Add number to end", {{"padding", plist::Value(3)},
                                                {"sortingMode", plist::Value(10)},
                                                {"fragmentSelection", plist::Value(1)}})),
        plist::Value(step("Make lowercase", {{"fragmentSelection", plist::Value(2)}}))};
    (void)controller.compositeAction().setFlatParameterList(plist::Dictionary{
        {"currentActionIndex", plist::Value(0)}, {"composite actions array", plist::Value(chain)}});
    controller.showMultistepDrawer();
    controller.updatePreview();
    MainWindow& window = morvane.window();
    window.resize(1240, 660);
    save(window, out, "main-window.png");
    save(*window.findChild<QWidget*>("StepsPane"), out, "steps-pane.png");

    RenameDialog confirmation(RenameDialog::Kind::Confirmation, &window);
    RenameDialogRequest request;
    request.context = {(photos + "/IMG_2041.JPG").toStdString(), photos.toStdString(),
                       u"IMG_2041.JPG", u"Iceland 2041.jpg"};
    request.showInformationView = true;
    QTimer::singleShot(600, &confirmation, [&] {
        save(confirmation, out, "confirmation-dialog.png");
        confirmation.reject();
    });
    confirmation.run(request);

    ProgressWindow progress(&window);
    ProgressDisplay display;
    display.phase = 2;
    display.determinate = true;
    display.maximum = 100000;
    display.value = 41250;
    display.status3 = "Step 2 of 3: Computing new names..";
    display.status1 = "Processed 41250 out of 100000 files";
    display.status2 = "Computing new name for: " + photos.toStdString() + "/IMG_2041.JPG.";
    progress.showDisplay(display);
    progress.show();
    save(progress, out, "progress-window.png");
    progress.hide();

    PreferencesController preferences(morvane.port());
    preferences.setGlobalPreferencesAction(controller.globalSettings());
    PreferencesDialog preferencesDialog(preferences, &window);
    preferencesDialog.show();
    save(preferencesDialog, out, "preferences-window.png");
    preferencesDialog.hide();

    ComponentsSetupWindowController setup(&window);
    setup.adjustSize();
    save(setup, out, "component-setup.png");

    // The window of a droplet being edited, with the same steps.
    defaults.setObject("don't show droplet edit information again", plist::Value(true));
    MorvaneApplication dropletEditor(defaults, registry);
    dropletEditor.controller().setDropletRecord(plist::Dictionary{
        {"composite action", plist::Value(controller.compositeAction().getFlatParameterList())},
        {"global settings", plist::Value(controller.globalSettings().parameterList())},
        {"settings plist path",
         plist::Value((home.path() + "/Rename Photos.app/Contents/Resources/Settings.plist")
                          .toStdString())}});
    dropletEditor.launch({});
    dropletEditor.window().resize(1240, 660);
    save(dropletEditor.window(), out, "droplet-edit-window.png");
    dropletEditor.window().hide();

    // A real run whose new name is one byte too long: the failure dialog as
    // a user meets it, then every later box (the summary) closed.
    QFile(photos + "/IMG_2053.JPG").open(QIODevice::WriteOnly);
    controller.clearList();
    controller.globalSettings().setValueForKey("interactiveMode", plist::Value(0));
    (void)controller.compositeAction().setFlatParameterList(plist::Dictionary{
        {"currentActionIndex", plist::Value(0)},
        {"composite actions array",
         plist::Value(plist::Array{plist::Value(
             step("Add to end", {{"string", plist::Value(std::string(244, 'x'))}}))})}});
    controller.addFilePath((photos + "/IMG_2053.JPG").toStdString());
    controller.updatePreview();
    QTimer boxes;
    boxes.callOnTimeout([&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (box->text() != "The file name could not be changed.")
            return box->accept();
        save(*box, out, "failure-dialog.png");
        box->reject(); // Skip Remaining Files
    });
    boxes.start(500);
    controller.applyCurrentSettings();
    boxes.stop();

    QApplication::setPalette(darkPalette());
    save(window, out, "dark-palette.png");
    return 0;
}
