// WindowBench [COUNT]: how the window copes with a large list, on Qt's
// offscreen platform. Times the steps a user waits for: adding a folder of
// COUNT files (100,000 by default) with the preview's cut-off off, building
// its preview, painting the table, scrolling it page by page, and the
// refresh of a 250-row preview after a key typed into a parameter field.
#include "MRVN7x/actions/ActionList.h"
#include "gui/MorvaneApplication.h"
#include "gui/PreviewTableView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

using namespace morvane;
using namespace morvane::gui;

namespace {
double millisecondsOf(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void makeFiles(const QString& folder, int count) {
    for (int i = 0; i < count; ++i) {
        const QByteArray path =
            (folder + QString("/IMG_%1.JPG").arg(i, 6, 10, QChar('0'))).toLocal8Bit();
        const int fd = ::open(path.constData(), O_CREAT | O_WRONLY, 0644);
        if (fd >= 0)
            ::close(fd);
    }
}

void settle() {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 400)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

void paint(QWidget& widget) {
    widget.repaint();
    QCoreApplication::processEvents();
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir home;
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toLocal8Bit());
    QDir(home.path()).mkpath("big");
    QDir(home.path()).mkpath("small");
    makeFiles(home.path() + "/big", count);
    makeFiles(home.path() + "/small", 250);

    UserDefaults defaults("net.halvard.mrvn7", (home.path() + "/config").toStdString());
    defaults.setObject("don't preview cutoff point information again", plist::Value(true));
    ActionList registry(defaults);
    MorvaneApplication morvane(defaults, registry);
    morvane.launch({});
    MainController& controller = morvane.controller();
    MainWindow& window = morvane.window();
    window.resize(1200, 700);
    paint(window);

    controller.globalSettings().setShouldProcessSubfolders(true);
    controller.updateAll();
    settle();
    controller.dynamicFileList().setApplyCutOff(false);
    const double add = millisecondsOf(
        [&] { controller.addFilePaths({(home.path() + "/big").toStdString()}, false); });
    // The longest time the window went without handling its events while the
    // preview was made: a timer that should tick every 5 ms measures the gaps.
    QElapsedTimer sinceTick;
    double longestGap = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, static_cast<double>(sinceTick.nsecsElapsed()) / 1e6);
        sinceTick.restart();
    });
    ticker.start(5);
    sinceTick.start();
    const double preview = millisecondsOf([&] { controller.showPreview(); });
    ticker.stop();
    PreviewTableView& table = *window.previewTable();
    const double firstPaint = millisecondsOf([&] { paint(window); });
    double slowestPage = 0, pages = 0, allPages = 0;
    QScrollBar* bar = table.verticalScrollBar();
    for (int i = 0; i < 200; ++i) {
        const double page = millisecondsOf([&] {
            bar->setValue(bar->value() + bar->pageStep() * 97);
            paint(table);
        });
        slowestPage = std::max(slowestPage, page);
        allPages += page;
        ++pages;
    }

    controller.clearList();
    controller.addFilePaths({(home.path() + "/small").toStdString()}, false);
    controller.showPreview();
    // A key typed into the first step's field: the refresh comes after the
    // 0.2-second coalescing and then takes the time below.
    settle(); // refreshes the changes above asked for are done
    const double typed = millisecondsOf([&] {
        controller.compositeAction().getCurrentAction()->setValueForKey("prefix",
                                                                        plist::Value("x"));
        const int before = controller.previewRefreshCount();
        while (controller.previewRefreshCount() == before)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        paint(table);
    });

    std::printf("items in the preview:          %d\n", count);
    std::printf("add the folder (expansion):    %8.1f ms\n", add);
    std::printf("build the preview (all rows):  %8.1f ms\n", preview);
    std::printf("  longest time without events: %8.1f ms\n", longestGap);
    std::printf("first paint of the window:     %8.1f ms\n", firstPaint);
    std::printf("scroll by 97 pages, mean:      %8.2f ms (slowest %.2f ms)\n", allPages / pages,
                slowestPage);
    std::printf("key to 250-row preview shown:  %8.1f ms (0.2 s of it is the coalescing)\n", typed);
    return 0;
}
