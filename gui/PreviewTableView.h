#pragma once
// The preview table: files and folders dropped on it are added, selected rows
// go with Delete or by being dragged out of the window, and the empty table
// shows its background picture.
#include <QSvgRenderer>
#include <QTableView>

namespace morvane::gui {

class PreviewTableView : public QTableView {
    Q_OBJECT
public:
    explicit PreviewTableView(QWidget* parent = nullptr);
    // The picture of the empty table (another one while a droplet is edited).
    void setEmptyPicture(const QString& resource, const QString& hint);
    std::vector<int> selectedRowIndexes() const;

signals:
    void filesDropped(const QStringList& paths);
    void removeRequested(const std::vector<int>& rows);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;

private:
    QSvgRenderer emptyPicture_;
    QString emptyHint_;
};

// The local paths among dropped addresses, as bytes on disk.
QStringList localPaths(const QMimeData* data);

} // namespace morvane::gui
