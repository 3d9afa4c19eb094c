#pragma once
// The preview table's model: it answers from the controller's preview rows on
// demand, so 100,000 rows cost no widgets. Columns are those the refresh
// decided on: current name, new name, folder, warning, and regex 1 to 6.
#include "MRVN7x/app/MainController.h"

#include <QAbstractTableModel>
#include <QIcon>

#include <vector>

namespace morvane::gui {

class PreviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class Column { CurrentName, NewName, Folder, Warning, Regex1 };
    static constexpr int kRegexColumns = 6;

    explicit PreviewModel(MainController& controller, QObject* parent = nullptr);

    // Takes the controller's rows and columns after a refresh.
    void refresh();
    // The column kind at a visible column, and the visible column of a kind (-1: hidden).
    Column columnKind(int column) const { return columns_[static_cast<size_t>(column)].kind; }
    int regexIndex(int column) const { return columns_[static_cast<size_t>(column)].regex; }
    int visibleColumn(Column kind) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override;

    // A display name as text: bytes of a name that is not UTF-8 (held as
    // lone surrogates) are shown as \xNN, never as a replacement mark.
    static QString readable(const std::u16string& name);
    static constexpr const char* kRowsMimeType = "application/x-morvane-preview-rows";

private:
    struct VisibleColumn {
        Column kind;
        int regex = 0;
    };
    QString text(const PreviewEntry& entry, const VisibleColumn& column) const;

    MainController& controller_;
    std::vector<VisibleColumn> columns_;
    QIcon warningIcon_;
};

} // namespace morvane::gui
