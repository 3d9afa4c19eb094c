#pragma once
// A part of a window whose height follows what it shows: replacing its view
// by a taller or shorter one, or hiding it, makes the window as much taller
// or shorter, with the window's top edge kept where it is. The window is
// resized by the caller's resizer, so that a preview window right below can
// follow.
#include <QPointer>
#include <QWidget>

#include <functional>

namespace morvane::gui {

class QLFlexView : public QWidget {
    Q_OBJECT
    // Bound like any control: 1 shows the view, 0 hides it.
    Q_PROPERTY(int disclosed READ isDisclosed WRITE setDisclosed)
public:
    explicit QLFlexView(QWidget* parent = nullptr);

    // Grows the window by delta points (shrinks it for a negative one).
    using WindowResizer = std::function<void(int delta)>;
    void setWindowResizer(WindowResizer resizer) { resizer_ = std::move(resizer); }

    // Takes the view; the last one is deleted.
    void setContainedView(QWidget* view);
    QWidget* containedView() const { return view_; }
    void setShow(bool show);
    bool isShown() const { return shown_; }
    void setDisclosed(int disclosed);
    int isDisclosed() const { return shown_ ? 1 : 0; }

    // No part of the window to type into.
    bool focusNextPrevChild(bool) override { return false; }

private:
    static int heightOf(const QWidget* view);
    void resizeWindowBy(int delta);

    QPointer<QWidget> view_;
    bool shown_ = true;
    WindowResizer resizer_;
};

} // namespace morvane::gui
