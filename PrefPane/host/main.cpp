// tessary-preferences: the preferences host of the product line. Shows the
// preference pane bundle given as argument.
//   tessary-preferences [--trace] [--leave] [--grab PNG] PANE.prefPane
// --trace prints every entry point as it is called; --leave leaves the pane
// once it is shown; --grab saves a picture of the window, then leaves.
#include "PrefPane/host/PaneHost.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tessary Preferences"));
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("pane"), QStringLiteral("the .prefPane to show"));
    const QCommandLineOption trace(QStringLiteral("trace"), QStringLiteral("print entry points"));
    const QCommandLineOption leave(QStringLiteral("leave"), QStringLiteral("leave once shown"));
    const QCommandLineOption grab(QStringLiteral("grab"), QStringLiteral("save a picture"),
                                  QStringLiteral("png"));
    parser.addOptions({trace, leave, grab});
    parser.process(application);
    if (parser.positionalArguments().size() != 1)
        parser.showHelp(2);

    tessary::PaneHost host;
    if (const QString error = host.load(parser.positionalArguments().front()); !error.isEmpty()) {
        std::fprintf(stderr, "tessary-preferences: %s\n", qPrintable(error));
        return 1;
    }
    if (parser.isSet(trace))
        host.setTrace([](const char* name) {
            std::printf("%s\n", name);
            std::fflush(stdout);
        });
    QApplication::setQuitOnLastWindowClosed(true);
    host.select();
    if (parser.isSet(grab) || parser.isSet(leave))
        QTimer::singleShot(300, [&] {
            if (parser.isSet(grab) && !host.window()->grab().save(parser.value(grab)))
                std::fprintf(stderr, "tessary-preferences: cannot save %s\n",
                             qPrintable(parser.value(grab)));
            host.window()->close();
        });
    return application.exec();
}
