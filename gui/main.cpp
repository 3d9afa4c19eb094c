// morvane: the renamer's window. `morvane [FILE...]` opens the window with the
// files in its list; while one window runs, a second `morvane FILE...` hands
// the files to it and ends.
#include "MRVN7x/actions/ActionList.h"
#include "MRVN7x/app/ApplicationDefaults.h"
#include "MRVN7x/app/DefaultsKeys.h"
#include "MRVN7x/app/DropletHandOver.h"
#include "MRVN7x/app/FirstLaunchManager.h"
#include "MorvaneVersion.h"
#include "gui/MorvaneApplication.h"
#include "gui/QtUserInterfacePort.h"
#include "gui/SingleInstance.h"
#include "platform/Bundle.h"
#include "platform/LargeBlocks.h"
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
    "  --droplet ID    serve the droplet that handed over the record ID (droplets\n"
    "                  start Morvane so; such a window never takes other files)\n"
    "\n"
    "FILE may also be a file:// address. Renaming from scripts: see morvane-cli(1).\n";

// "--droplet ID" (or "--droplet=ID") removed from the arguments; its ID.
QString takeDropletOption(QStringList& arguments) {
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--droplet" && i + 1 < arguments.size()) {
            const QString id = arguments[i + 1];
            arguments.remove(i, 2);
            return id;
        }
        if (arguments[i].startsWith("--droplet=")) {
            const QString id = arguments[i].mid(10);
            arguments.remove(i);
            return id;
        }
    }
    return {};
}

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
    LargeBlocks::returnToTheSystemWhenFreed();
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
    const QString dropletId = takeDropletOption(arguments);
    // A droplet's record is taken before anything else can reset the domain
    // (a first launch does). A window that serves a droplet is a program of
    // its own: it never hands over to, or takes files from, another window,
    // so a drop on a droplet can never rename the open window's files.
    std::optional<plist::Dictionary> dropletRecord =
        DropletHandOver(applicationDefaults(), DefaultsKeys::dropletSettings)
            .take(dropletId.toStdString());
    if (!dropletId.isEmpty() && !dropletRecord) {
        SystemLog::notice("No droplet record " + dropletId.toStdString() +
                          " to take: its droplet took it back");
        return 0;
    }
    const std::vector<std::string> paths = pathsOf(arguments);
    if (!dropletRecord && SingleInstance::handOver(paths, 500))
        return 0;

    // Before any setting is read: a first launch of this version starts afresh.
    {
        QtUserInterfacePort launchPort;
        FirstLaunchManager firstLaunch(applicationDefaults(), launchPort,
                                       Bundle::applicationBundlePath());
        firstLaunch.doIt();
    }
    MorvaneApplication morvane(applicationDefaults(), applicationActionList());
    SingleInstance instance;
    if (dropletRecord) {
        morvane.controller().setDropletRecord(std::move(*dropletRecord));
    } else {
        instance.listen();
        QObject::connect(
            &instance, &SingleInstance::pathsReceived,
            [&morvane](const std::vector<std::string>& received) { morvane.openFiles(received); });
    }
    if (!morvane.launch(paths))
        return 0;
    return QApplication::exec();
}
