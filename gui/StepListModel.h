#pragma once
// The steps of the chain for the multi-step pane: one row per step with its
// menu title and its "active" tick box.
#include <QAbstractListModel>

namespace morvane {
class CompositeRenameAction;
}

namespace morvane::gui {

class StepListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit StepListModel(CompositeRenameAction& chain, QObject* parent = nullptr);
    // The chain's steps changed (added, removed, moved, another action).
    void refresh();

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    CompositeRenameAction& chain_;
};

} // namespace morvane::gui
