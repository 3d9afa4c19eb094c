// The window of a droplet: edited (its title, the hidden commands, Save, the
// silent box's title) and saved back into the droplet; run (no window, one
// run, the end); and the normal window's droplet commands.
#include "MRVN7x/actions/ActionList.h"
#include "MRVN7x/app/DropletHandOver.h"
#include "MRVN7x/app/DropletSettingsFile.h"
#include "gui/MorvaneApplication.h"
#include "tests/gui/QtTestEnvironment.h"
#include "tests/support/TempDir.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

using namespace morvane;
using namespace morvane::gui;

namespace {
plist::Dictionary record(const std::vector<std::string>& files, const std::string& settingsPath) {
    plist::Array steps{
        plist::Dictionary{{"action name", "Add to front"},
                          {"action parameter list", plist::Dictionary{{"string", "d_"}}}}};
    plist::Dictionary host{
        {"composite action",
         plist::Dictionary{{"currentActionIndex", 0}, {"composite actions array", steps}}},
        {"global settings", plist::Dictionary{{"silentDroplet", 1}, {"useFadeOutEffect", 0}}}};
    return DropletHandOver::makeRecord(host, files, settingsPath, "id");
}

struct DropletWindow {
    test::TempDir files{"files"};
    test::TempDir settings{"settings"};
    UserDefaults defaults{"net.halvard.mrvn7", settings.path()};
    ActionList registry{defaults};
    MorvaneApplication app{defaults, registry};
    // Runs keep their journals here, not among the other window tests' runs.
    DropletWindow() { app.controller().setJournalFolder(settings / "runs"); }
};
} // namespace

TEST(DropletWindow, TheEditorSavesIntoTheDropletAndCloses) {
    DropletWindow w;
    const std::string settingsPath = w.files / "Edit.app/Contents/Resources/Settings.plist";
    w.app.controller().setApplicationLocation("/nonexistent/Morvane 7.app");
    w.app.controller().setDropletRecord(record({}, settingsPath));
    QStringList seen;
    test::answerModals({"OK"}, &seen); // the edit notice
    ASSERT_TRUE(w.app.launch({}));
    MainWindow& window = w.app.window();
    EXPECT_EQ(seen, QStringList{"Droplet Edit Mode Information"});
    EXPECT_EQ(window.windowTitle(), "Editing Rename Droplet");
    EXPECT_TRUE(window.createDropletButton()->isHidden());
    EXPECT_TRUE(window.createFileListButton()->isHidden());
    EXPECT_EQ(window.okButton()->text(), "Save");
    EXPECT_EQ(window.silentDropletCheckbox()->text(), "Execute as a \"silent\" droplet");
    EXPECT_TRUE(window.silentDropletCheckbox()->isChecked());
    window.silentDropletCheckbox()->click();
    window.okButton()->click();
    EXPECT_TRUE(test::waitFor([&] { return !window.isVisible(); }));
    const auto host = DropletSettingsFile::readHostSettings(settingsPath);
    ASSERT_TRUE(host) << host.messageIfFailed();
    EXPECT_EQ(
        plist::find(*host->at("global settings").asDictionary(), "silentDroplet")->numberValue(),
        0);
    // The droplet's settings did not become the application's.
    w.defaults.synchronize();
    EXPECT_FALSE(w.defaults.hasStoredValue("actions"));
}

TEST(DropletWindow, ADropletRunShowsNoWindowRenamesAndEnds) {
    DropletWindow w;
    const std::string file = w.files.write("a.txt", "a");
    w.app.controller().setDropletRecord(record({file}, ""));
    ASSERT_TRUE(w.app.launch({}));
    EXPECT_FALSE(w.app.window().isVisible());
    EXPECT_TRUE(test::waitFor([&] { return w.app.controller().terminationRequested(); }));
    EXPECT_TRUE(test::pathExists(w.files / "d_a.txt"));
    EXPECT_FALSE(w.app.window().isVisible());
}

TEST(DropletWindow, TheNormalWindowCreatesADropletThroughItsSavePanel) {
    DropletWindow w;
    test::TempDir resources{"resources"};
    std::filesystem::create_directories(resources / "Components");
    std::filesystem::copy(std::string(MORVANE_BINARY_DIR) +
                              "/Morvane 7.app/Contents/Resources/Components/Tessary Droplet.app",
                          resources / "Components/Tessary Droplet.app",
                          std::filesystem::copy_options::recursive);
    qputenv("MORVANE_BUNDLE_RESOURCES", QByteArray::fromStdString(resources.path()));
    w.app.controller().setApplicationLocation("/nonexistent/Morvane 7.app");
    ASSERT_TRUE(w.app.launch({}));
    MainWindow& window = w.app.window();
    EXPECT_EQ(window.windowTitle(), "Morvane");
    EXPECT_FALSE(window.createDropletButton()->isHidden());
    EXPECT_FALSE(window.createFileListButton()->isHidden());
    EXPECT_EQ(window.okButton()->text(), "OK");
    EXPECT_EQ(window.silentDropletCheckbox()->property("parameterKey").toString(), "silentDroplet");

    // The notice, then the save panel: a name typed without ".app" gets it.
    test::answerModals({"Create Droplet"});
    QTimer panel;
    QObject::connect(&panel, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            panel.stop();
            EXPECT_EQ(dialog->windowTitle(), "Save Droplet");
            // Typed into the name field: selectFile() leaves a focused field as it is.
            dialog->setDirectory(QString::fromStdString(w.files.path()));
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            EXPECT_NE(name, nullptr);
            if (name)
                name->setText("Made");
            QMetaObject::invokeMethod(dialog, name ? "accept" : "reject", Qt::QueuedConnection);
        }
    });
    panel.start(10);
    window.createDropletButton()->click();
    EXPECT_TRUE(test::pathExists(w.files / "Made.app/Contents/Resources/Settings.plist"));
    EXPECT_TRUE(test::pathExists(w.files / "Made.desktop"));
    qunsetenv("MORVANE_BUNDLE_RESOURCES");
    window.close();
}
