// morvane: the renamer's window. `morvane [FILE...]` opens the window with the
// files in its list; while one window runs, a second `morvane FILE...` hands
// the files to it and ends.
#include "MRVN7x/actions/ActionList.h"
#include "MRVN7x/app/ApplicationDefaults.h"
#include "MRVN7x/app/FirstLaunchManager.h"
#include "MorvaneVersion.h"
#include "gui/MorvaneApplication.h"
#include "gui/QtUserInterfacePort.h"
#include "gui/SingleInstance.h"
#include "platform/Bundle.h"
#include "platform/SystemLog.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QUrl>

#include <cstdio>
#include <cstring>

using namespace morvane;
using namespace morvane::gui;

namespace {
constexpr const char* kUsage =
    "Usage: morvane [OPTION]... [FILE]...\n"
    "Opens the Morvane window, a batch renamer, with the files and folders given.\n"
    "While a Morvane window is open, the files go to that window instead.\n"
    "\n"
    "  -h, --help      show this help and exit\n"
    "  -v, --version   show the version and exit\n"
    "\n"
    "FILE may also be a file:// address. Renaming from scripts: see morvane-cli(1).\n";

// Paths and file addresses as absolute paths, in the bytes the file system holds.
std::vector<std::string> pathsOf(const QStringList& arguments) {
    std::vector<std::string> paths;
    for (const QString& argument : arguments) {
        const QUrl url(argument);
        const QString path = url.isLocalFile() ? url.toLocalFile() : argument;
        paths.push_back(pathFromQt(QDir::current().absoluteFilePath(path)));
    }
    return paths;
}
} // namespace

int main(int argc, char** argv) {
    // Help and version need no display.
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (!std::strcmp(argv[i], "--version") || !std::strcmp(argv[i], "-v")) {
            std::printf("morvane %s\n", MORVANE_VERSION);
            return 0;
        }
        if (!std::strcmp(argv[i], "--"))
            break;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("morvane");
    QApplication::setApplicationDisplayName("Morvane");
    QApplication::setApplicationVersion(MORVANE_VERSION);
    QApplication::setDesktopFileName("morvane");
    SystemLog::setIdent("morvane");

    QStringList arguments = QApplication::arguments().mid(1);
    arguments.removeAll("--");
    const std::vector<std::string> paths = pathsOf(arguments);
    if (SingleInstance::handOver(paths, 500))
        return 0;

    // Before any setting is read: a first launch of this version starts afresh.
    {
        QtUserInterfacePort launchPort;
        FirstLaunchManager firstLaunch(applicationDefaults(), launchPort,
                                       Bundle::applicationBundlePath());
        firstLaunch.doIt();
    }
    MorvaneApplication morvane(applicationDefaults(), ActionList::sharedActionList());
    SingleInstance instance;
    instance.listen();
    QObject::connect(
        &instance, &SingleInstance::pathsReceived,
        [&morvane](const std::vector<std::string>& received) { morvane.openFiles(received); });
    morvane.launch(paths);
    return QApplication::exec();
}
