#include "gui/WindowGeometry.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QVariantAnimation>
#include <QWidget>

namespace morvane::gui::WindowGeometry {
namespace {
// The bottom edge of the virtual desktop in Qt's coordinates: the line y = 0
// of the layout rules.
int desktopBottom(const QWidget* window) {
    const QScreen* screen =
        window && window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return 0;
    const QRect desktop = screen->virtualGeometry();
    return desktop.y() + desktop.height();
}

Frame fromQt(const QRect& rect, int bottom) {
    return {double(rect.x()), double(bottom - rect.y() - rect.height()), double(rect.width()),
            double(rect.height())};
}

Frame between(const Frame& a, const Frame& b, double t) {
    auto mix = [t](double from, double to) { return from + (to - from) * t; };
    return {mix(a.x, b.x), mix(a.y, b.y), mix(a.w, b.w), mix(a.h, b.h)};
}
} // namespace

bool canPlaceWindows() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

Frame frameOf(const QWidget* window) {
    return fromQt(window->frameGeometry(), desktopBottom(window));
}

Frame visibleScreenFrame(const QWidget* window) {
    const QScreen* screen =
        window && window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    return screen ? fromQt(screen->availableGeometry(), desktopBottom(window)) : Frame{};
}

// move() places the frame's corner; resize() sizes the inside, so the
// decorations' share of the size comes off first.
void setFrame(QWidget* window, const Frame& frame) {
    const QRect outside = window->frameGeometry();
    const QRect inside = window->geometry();
    const int decorationWidth = outside.width() - inside.width();
    const int decorationHeight = outside.height() - inside.height();
    const int top = desktopBottom(window) - int(std::lround(frame.y + frame.h));
    window->resize(int(std::lround(frame.w)) - decorationWidth,
                   int(std::lround(frame.h)) - decorationHeight);
    window->move(int(std::lround(frame.x)), top);
}

void moveTogether(QWidget* main, QWidget* preview, const WindowFrames& to,
                  std::chrono::milliseconds duration) {
    if (preview && !preview->isVisible())
        setFrame(preview, to.preview); // where it will show
    const bool withPreview = preview && preview->isVisible();
    if (duration.count() <= 0 || !main->isVisible()) {
        if (withPreview)
            setFrame(preview, to.preview);
        setFrame(main, to.main);
        return;
    }
    const WindowFrames from{frameOf(main), withPreview ? frameOf(preview) : to.preview};
    QVariantAnimation animation;
    animation.setStartValue(0.0);
    animation.setEndValue(1.0);
    animation.setDuration(int(duration.count()));
    QObject::connect(&animation, &QVariantAnimation::valueChanged, [&](const QVariant& value) {
        const double t = value.toDouble();
        setFrame(main, between(from.main, to.main, t));
        if (withPreview)
            setFrame(preview, between(from.preview, to.preview, t));
    });
    QEventLoop loop;
    QObject::connect(&animation, &QVariantAnimation::finished, &loop, &QEventLoop::quit);
    animation.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (withPreview)
        setFrame(preview, to.preview);
    setFrame(main, to.main);
}

} // namespace morvane::gui::WindowGeometry
