#include "gui/StepListModel.h"

#include "MRVN7x/actions/CompositeRenameAction.h"

namespace morvane::gui {

StepListModel::StepListModel(CompositeRenameAction& chain, QObject* parent)
    : QAbstractListModel(parent), chain_(chain) {}

void StepListModel::refresh() {
    beginResetModel();
    endResetModel();
}

int StepListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : chain_.count();
}

QVariant StepListModel::data(const QModelIndex& index, int role) const {
    const auto& steps = chain_.getActionDictionaryList();
    if (!index.isValid() || index.row() >= static_cast<int>(steps.size()))
        return {};
    const BaseRenameAction& step = *steps[static_cast<size_t>(index.row())];
    if (role == Qt::DisplayRole)
        return tr("%1. %2")
            .arg(index.row() + 1)
            .arg(QString::fromStdString(step.userDescription()));
    if (role == Qt::CheckStateRole)
        return step.isActive() ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::ToolTipRole)
        return tr("Untick to leave this step out for now");
    return {};
}

bool StepListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    const auto& steps = chain_.getActionDictionaryList();
    if (role != Qt::CheckStateRole || !index.isValid() ||
        index.row() >= static_cast<int>(steps.size()))
        return false;
    const bool on = value.value<Qt::CheckState>() == Qt::Checked;
    steps[static_cast<size_t>(index.row())]->setValueForKey("active", plist::Value(on ? 1 : 0));
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags StepListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

} // namespace morvane::gui
