#include "gui/PreviewTableView.h"

#include "gui/PreviewModel.h"

#include <QCursor>
#include <QDrag>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QUrl>

namespace morvane::gui {

QStringList localPaths(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            paths.push_back(url.toLocalFile());
    return paths;
}

PreviewTableView::PreviewTableView(QWidget* parent) : QTableView(parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDropIndicatorShown(false);
    setShowGrid(false);
    setAlternatingRowColors(true);
    setWordWrap(false);
    setTextElideMode(Qt::ElideMiddle);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->hide();
    // Rows of one height: the view lays out 100,000 rows without measuring them.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
}

void PreviewTableView::setEmptyPicture(const QString& resource, const QString& hint) {
    emptyPicture_.load(resource);
    emptyHint_ = hint;
    viewport()->update();
}

std::vector<int> PreviewTableView::selectedRowIndexes() const {
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows())
        rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void PreviewTableView::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    if (model() && model()->rowCount() > 0)
        return;
    QPainter painter(viewport());
    const QRect area = viewport()->rect();
    const int textHeight = fontMetrics().height() * 3;
    if (emptyPicture_.isValid()) {
        // Drawn from its outline at the screen's scale: crisp at any size.
        const QSize size = emptyPicture_.defaultSize()
                               .scaled(area.size() / 2, Qt::KeepAspectRatio)
                               .boundedTo(emptyPicture_.defaultSize());
        const QRect target(QPoint(area.center().x() - size.width() / 2,
                                  area.center().y() - size.height() / 2 - textHeight / 2),
                           size);
        painter.setOpacity(0.5);
        emptyPicture_.render(&painter, target);
        painter.setOpacity(1);
        painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
        painter.drawText(QRect(area.left(), target.bottom() + 8, area.width(), textHeight),
                         Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, emptyHint_);
        return;
    }
    painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, emptyHint_);
}

void PreviewTableView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Delete) || event->key() == Qt::Key_Backspace) {
        if (auto rows = selectedRowIndexes(); !rows.empty())
            emit removeRequested(rows);
        return;
    }
    QTableView::keyPressEvent(event);
}

void PreviewTableView::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* data = event->mimeData();
    if (data->hasFormat(PreviewModel::kRowsMimeType) && event->source() == this) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else if (!localPaths(data).isEmpty()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore(); // nothing that names files
    }
}

void PreviewTableView::dragMoveEvent(QDragMoveEvent* event) {
    if (event->source() == this || !localPaths(event->mimeData()).isEmpty())
        event->accept();
    else
        event->ignore();
}

void PreviewTableView::dropEvent(QDropEvent* event) {
    if (event->source() == this) {
        event->accept(); // rows dropped back where they came from: nothing happens
        return;
    }
    const QStringList paths = localPaths(event->mimeData());
    if (paths.isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit filesDropped(paths);
}

// Rows dragged out of the table leave the list, wherever they are let go,
// except back on the table itself.
void PreviewTableView::startDrag(Qt::DropActions) {
    const std::vector<int> rows = selectedRowIndexes();
    if (rows.empty())
        return;
    QMimeData* data = model()->mimeData(selectionModel()->selectedRows());
    if (!data)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::MoveAction);
    if (viewport()->rect().contains(viewport()->mapFromGlobal(QCursor::pos())))
        return;
    emit removeRequested(rows);
}

} // namespace morvane::gui
