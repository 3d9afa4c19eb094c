#pragma once
// The preview in a window of its own, beside, below or above the main window.
// It only reports what the user did to it; where it goes is decided by the
// controller. A drag is reported once the window has come to rest, so the
// snapping never fights the window manager during the drag.
#include <QTimer>
#include <QWidget>

namespace morvane::gui {

class PreviewWindow : public QWidget {
    Q_OBJECT
public:
    explicit PreviewWindow(QWidget* mainWindow);
    static constexpr int kRestMs = 150; // no move for this long: the user let go

    void takePane(QWidget* pane);

signals:
    // The window came to rest after a move or a resize; whether the user did
    // it is for the receiver to tell, which knows where it put the window.
    void moved();
    void resized();
    void closedByUser();
    // The maximise button: the receiver may give the window another frame instead.
    void maximizeRequested();

protected:
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QTimer moveRest_;
    QTimer resizeRest_;
};

} // namespace morvane::gui
