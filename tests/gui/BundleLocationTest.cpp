// The window's program knows the bundle it lies in, also when started
// through a link (as the installed bin/morvane is): every launch records the
// bundle as "location", where the rest of the product line looks for it.
#include "MRVN7x/app/FirstLaunchManager.h"
#include "gui/SingleInstance.h"
#include "platform/UserDefaults.h"
#include "tests/gui/QtTestEnvironment.h"
#include "tests/support/TempDir.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

using namespace morvane;
using namespace morvane::gui;
namespace fs = std::filesystem;

TEST(BundleLocation, TheWindowStartedThroughALinkRecordsItsBundle) {
    test::TempDir runtime("runtime");
    chmod(runtime.path().c_str(), 0700);
    const QByteArray before = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime.path()));
    UserDefaults defaults("net.halvard.mrvn7");
    defaults.setObject("firstLaunchVersion", plist::Value(FirstLaunchManager::kFirstLaunchVersion));
    defaults.setObject("location", plist::Value("/elsewhere/Morvane 7.app"));
    ASSERT_TRUE(defaults.synchronize());
    test::TempDir bin("bin");
    fs::create_symlink(MORVANE_GUI, bin / "morvane");

    QProcess window;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.remove("MORVANE_BUNDLE_RESOURCES");
    window.setProcessEnvironment(environment);
    window.start(QString::fromStdString(bin / "morvane"), {});
    EXPECT_TRUE(test::waitFor([] { return SingleInstance::handOver({"/x"}, 200); }, 20000));
    window.terminate();
    window.waitForFinished(5000);
    qputenv("XDG_RUNTIME_DIR", before);

    UserDefaults after("net.halvard.mrvn7");
    const auto location = after.objectForKey("location");
    ASSERT_TRUE(location);
    // The program is "Morvane 7.app/Contents/bin/morvane".
    EXPECT_EQ(
        *location,
        plist::Value(fs::path(MORVANE_GUI).parent_path().parent_path().parent_path().string()));
}
