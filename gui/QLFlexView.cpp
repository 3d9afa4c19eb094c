#include "gui/QLFlexView.h"

#include <QVBoxLayout>

namespace morvane::gui {

QLFlexView::QLFlexView(QWidget* parent) : QWidget(parent) {
    setObjectName("FlexView");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setFixedHeight(0);
}

int QLFlexView::heightOf(const QWidget* view) {
    if (!view)
        return 0;
    return std::max(
        {view->sizeHint().height(), view->minimumSizeHint().height(), view->minimumHeight(), 0});
}

void QLFlexView::setContainedView(QWidget* view) {
    QPointer<QWidget> old = view_;
    view_ = view;
    if (!shown_) {
        // In the layout even while hidden, so that it gets the view's width when shown.
        view->hide();
        layout()->addWidget(view);
        delete old;
        return;
    }
    // The first view sets the window's minimum; later ones resize the window.
    const int delta = old ? heightOf(view) - height() : 0;
    delete old;
    layout()->addWidget(view);
    view->show();
    setFixedHeight(heightOf(view));
    resizeWindowBy(delta);
}

void QLFlexView::setShow(bool show) {
    if (show == shown_)
        return;
    shown_ = show;
    if (!view_)
        return;
    const int viewHeight = heightOf(view_);
    if (show) {
        view_->show();
        setFixedHeight(viewHeight);
        resizeWindowBy(viewHeight);
    } else {
        const int delta = -height();
        view_->hide();
        setFixedHeight(0);
        resizeWindowBy(delta);
    }
}

void QLFlexView::setDisclosed(int disclosed) {
    if (disclosed == 0 || disclosed == 1)
        setShow(disclosed == 1);
}

void QLFlexView::resizeWindowBy(int delta) {
    if (delta != 0 && resizer_)
        resizer_(delta);
}

} // namespace morvane::gui
