#include "gui/PreviewModel.h"

#include "platform/PathText.h"

#include <QApplication>
#include <QFont>
#include <QMimeData>
#include <QPalette>
#include <QUrl>

namespace morvane::gui {

PreviewModel::PreviewModel(MainController& controller, QObject* parent)
    : QAbstractTableModel(parent), controller_(controller),
      warningIcon_(QIcon::fromTheme("dialog-warning", QIcon(":/morvane/warning.svg"))) {
    refresh();
}

void PreviewModel::refresh() {
    beginResetModel();
    const PreviewColumns& shown = controller_.previewColumns();
    columns_.clear();
    if (shown.currentName)
        columns_.push_back({Column::CurrentName});
    columns_.push_back({Column::NewName});
    if (shown.path)
        columns_.push_back({Column::Folder});
    if (shown.warning)
        columns_.push_back({Column::Warning});
    if (shown.regex)
        for (int i = 0; i < kRegexColumns; ++i)
            columns_.push_back({Column::Regex1, i});
    endResetModel();
}

int PreviewModel::visibleColumn(Column kind) const {
    for (size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].kind == kind)
            return static_cast<int>(i);
    return -1;
}

int PreviewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(controller_.previewEntries().size());
}

int PreviewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QString PreviewModel::readable(const std::u16string& name) {
    QString text;
    text.reserve(static_cast<qsizetype>(name.size()));
    for (char16_t unit : name) {
        if (unit >= 0xDC80 && unit <= 0xDCFF)
            text += QStringLiteral("\\x") +
                    QString::number(unit - 0xDC00, 16).toUpper().rightJustified(2, '0');
        else
            text += QChar(unit);
    }
    return text;
}

QString PreviewModel::text(const PreviewEntry& entry, const VisibleColumn& column) const {
    switch (column.kind) {
    case Column::CurrentName:
        return readable(entry.oldName);
    case Column::NewName:
        return readable(entry.newName);
    case Column::Folder:
        return readable(PathText::fromUtf8(entry.path));
    case Column::Warning:
        return {};
    case Column::Regex1:
        return entry.regex ? readable((*entry.regex)[static_cast<size_t>(column.regex)])
                           : QString();
    }
    return {};
}

QVariant PreviewModel::data(const QModelIndex& index, int role) const {
    const auto& entries = controller_.previewEntries();
    if (!index.isValid() || index.row() >= static_cast<int>(entries.size()) ||
        index.column() >= static_cast<int>(columns_.size()))
        return {};
    const PreviewEntry& entry = entries[static_cast<size_t>(index.row())];
    const VisibleColumn& column = columns_[static_cast<size_t>(index.column())];
    switch (role) {
    case Qt::DisplayRole:
        return text(entry, column);
    case Qt::ToolTipRole:
        if (column.kind == Column::Warning && entry.warning)
            return tr("Another item would get the same name in this folder.");
        return text(entry, column);
    case Qt::DecorationRole:
        if (column.kind == Column::Warning && entry.warning)
            return warningIcon_;
        return {};
    case Qt::ForegroundRole:
        // Names that stay as they are recede; conflicts stand out.
        if (column.kind == Column::NewName && entry.warning)
            return QColor(0xd0, 0x30, 0x30); // readable on light and dark palettes
        if (!entry.diff)
            return QApplication::palette().color(QPalette::Disabled, QPalette::Text);
        return {};
    case Qt::FontRole:
        if (column.kind == Column::NewName && entry.diff) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    default:
        return {};
    }
}

QVariant PreviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole ||
        section >= static_cast<int>(columns_.size()))
        return {};
    const VisibleColumn& column = columns_[static_cast<size_t>(section)];
    switch (column.kind) {
    case Column::CurrentName:
        return tr("Current Name");
    case Column::NewName:
        return tr("New Name");
    case Column::Folder:
        return tr("Folder");
    case Column::Warning:
        return QString();
    case Column::Regex1:
        return tr("$%1").arg(column.regex + 1);
    }
    return {};
}

// Only the items the user added can be selected, removed or dragged out:
// items found inside an added folder come and go with it.
Qt::ItemFlags PreviewModel::flags(const QModelIndex& index) const {
    const auto& entries = controller_.previewEntries();
    if (!index.isValid() || index.row() >= static_cast<int>(entries.size()))
        return Qt::ItemIsDropEnabled;
    if (!entries[static_cast<size_t>(index.row())].root)
        return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

QStringList PreviewModel::mimeTypes() const {
    return {kRowsMimeType, "text/uri-list"};
}

// Rows dragged out carry their indexes (for the window itself) and their
// paths (for a file manager, which is offered nothing but a delete).
QMimeData* PreviewModel::mimeData(const QModelIndexList& indexes) const {
    QList<int> rows;
    for (const QModelIndex& index : indexes)
        if (!rows.contains(index.row()) && (flags(index) & Qt::ItemIsSelectable))
            rows.push_back(index.row());
    if (rows.isEmpty())
        return nullptr;
    auto* data = new QMimeData;
    QByteArray encoded;
    for (int row : rows)
        encoded += QByteArray::number(row) + '\n';
    data->setData(kRowsMimeType, encoded);
    return data;
}

Qt::DropActions PreviewModel::supportedDragActions() const {
    return Qt::MoveAction;
}

} // namespace morvane::gui
