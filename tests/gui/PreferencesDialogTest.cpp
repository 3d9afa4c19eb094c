// The preferences window's real widgets: its buttons install and remove
// stand-in components on disk and show what is installed; opened from the
// Edit menu, OK offers the file-manager restart through a real alert.
#include "gui/dialogs/PreferencesDialog.h"
#include "MRVN7x/actions/ActionList.h"
#include "MRVN7x/app/MRVNGlobalPreferencesPseudoAction.h"
#include "gui/MorvaneApplication.h"
#include "gui/dialogs/ComponentsSetupWindowController.h"
#include "tests/gui/QtTestEnvironment.h"
#include "tests/support/ComponentEnvironment.h"
#include "tests/support/FakePort.h"
#include "tests/support/TempDir.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace morvane;
using namespace morvane::gui;

namespace {
void makeComponents(const test::ComponentEnvironment& env) {
    const std::string components = env.resources() + "/Components";
    test::ComponentEnvironment::makeBundle(components + "/Tessary Context Menu.plugin", "1");
    test::ComponentEnvironment::makeBundle(components + "/Tessary Preferences.prefPane", "1");
}

QPushButton* button(QWidget* dialog, const char* name) {
    return dialog->findChild<QPushButton*>(name);
}

// The visible command buttons, by object name.
QStringList visibleCommands(QWidget* dialog) {
    QStringList names;
    for (const char* name :
         {"installContextMenu", "uninstallContextMenu", "installSystemPreferences",
          "launchSystemPreferences", "uninstallSystemPreferences"})
        if (button(dialog, name)->isVisible())
            names << name;
    return names;
}
} // namespace

TEST(PreferencesWindow, ButtonsActOnTheDiskAndShowWhatIsInstalled) {
    test::ComponentEnvironment env;
    makeComponents(env);
    test::FakePort port;
    PreferencesController controller(port);
    auto settings = makeAction<MRVNGlobalPreferencesPseudoAction>();
    controller.setGlobalPreferencesAction(*settings);
    PreferencesDialog dialog(controller, nullptr);
    dialog.show();
    ASSERT_TRUE(test::waitFor([&] { return dialog.isVisible(); }));
    EXPECT_EQ(dialog.windowTitle(), "Preferences");
    EXPECT_EQ(visibleCommands(&dialog),
              (QStringList{"installContextMenu", "installSystemPreferences"}));

    struct Click {
        const char* button;
        QStringList visibleAfter;
    };
    const Click clicks[] = {
        {"installSystemPreferences",
         {"installContextMenu", "launchSystemPreferences", "uninstallSystemPreferences"}},
        {"installContextMenu",
         {"uninstallContextMenu", "launchSystemPreferences", "uninstallSystemPreferences"}},
        {"uninstallSystemPreferences", {"uninstallContextMenu", "installSystemPreferences"}},
        {"uninstallContextMenu", {"installContextMenu", "installSystemPreferences"}},
    };
    for (const Click& click : clicks) {
        SCOPED_TRACE(click.button);
        button(&dialog, click.button)->click();
        EXPECT_EQ(visibleCommands(&dialog), click.visibleAfter);
    }
    EXPECT_FALSE(controller.manager().isContextMenuInstalled());
    EXPECT_FALSE(
        test::pathExists(env.dataHome() + "/Ossvale/PreferencePanes/Tessary Preferences.prefPane"));

    auto* fadeOut = dialog.findChild<QCheckBox*>("useFadeOutEffect");
    ASSERT_TRUE(fadeOut && fadeOut->isChecked());
    fadeOut->click();
    dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    // Installed and removed again within the opening: no restart offered.
    EXPECT_TRUE(port.alerts.empty());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(settings->shouldUseFadeOutEffect());
}

TEST(PreferencesWindow, OpensFromTheEditMenuAndOffersTheRestartAfterAnInstall) {
    test::ComponentEnvironment env;
    makeComponents(env);
    test::TempDir settings{"settings"};
    UserDefaults defaults{"net.halvard.mrvn7", settings.path()};
    ActionList registry{defaults};
    MorvaneApplication app{defaults, registry};
    app.launch({});
    QAction* preferences = nullptr;
    for (QAction* action : app.window().menuBar()->findChildren<QAction*>())
        if (action->text() == "&Preferences…")
            preferences = action;
    ASSERT_TRUE(preferences);
    EXPECT_EQ(preferences->shortcut(), QKeySequence("Ctrl+,"));

    QStringList seen;
    bool wasShown = false;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = nullptr;
        test::waitFor([&] {
            dialog = QApplication::activeModalWidget();
            return dialog && dialog->objectName() == "In Application Preference Pane";
        });
        wasShown = dialog && dialog->objectName() == "In Application Preference Pane";
        if (!wasShown)
            return;
        button(dialog, "installContextMenu")->click();
        test::answerModals({"No"}, &seen);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    preferences->trigger();
    ASSERT_TRUE(wasShown);
    EXPECT_EQ(seen, QStringList{InstallationManager::kRestartTitle});
    EXPECT_TRUE(MRVNInstallationManager().isContextMenuInstalled());
}

TEST(ComponentSetupWindow, TheFirstChoiceOfEachGroupInstalls) {
    struct Case {
        QStringList clicks;
        bool contextMenu, pane;
    };
    const Case cases[] = {{{"OK"}, true, true},
                          {{"Do not add it", "OK"}, false, true},
                          {{"Do not install them", "OK"}, true, false}};
    for (const Case& c : cases) {
        gui::ComponentsSetupWindowController window;
        test::answerModals(c.clicks);
        const ComponentChoices choices = window.run();
        EXPECT_EQ(choices.installContextMenu, c.contextMenu) << c.clicks.join(",").toStdString();
        EXPECT_EQ(choices.installPreferencePane, c.pane) << c.clicks.join(",").toStdString();
    }
}
