#include "ParameterListModel.h"

#include <algorithm>
#include <numeric>

#include "ui/ViewTexts.h"

namespace velterra {

ParameterListModel::ParameterListModel(const ParameterList& list, QObject* parent)
    : QAbstractTableModel(parent), list_(list) {}

void ParameterListModel::Reset(std::vector<int> visibleLines, bool allExpanded) {
    beginResetModel();
    visible_ = std::move(visibleLines);
    allExpanded_ = allExpanded;
    endResetModel();
}

void ParameterListModel::ResetAll() {
    std::vector<int> all(static_cast<std::size_t>(list_.RowCount()));
    std::iota(all.begin(), all.end(), 0);
    Reset(std::move(all));
}

void ParameterListModel::LineChanged(int listRow) {
    if (const auto row = ModelRowOf(listRow)) {
        emit dataChanged(index(*row, 0), index(*row, ParameterList::kValueColumn));
    }
}

std::optional<int> ParameterListModel::ListRowAt(int modelRow) const {
    if (modelRow < 0 || modelRow >= static_cast<int>(visible_.size())) return std::nullopt;
    return visible_[static_cast<std::size_t>(modelRow)];
}

std::optional<int> ParameterListModel::ModelRowOf(int listRow) const {
    const auto it = std::find(visible_.begin(), visible_.end(), listRow);
    if (it == visible_.end()) return std::nullopt;
    return static_cast<int>(it - visible_.begin());
}

std::optional<ParameterListRow> ParameterListModel::RowAt(int modelRow) const {
    const auto line = ListRowAt(modelRow);
    if (!line) return std::nullopt;
    return list_.RowAt(*line);
}

int ParameterListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(visible_.size());
}

int ParameterListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant ParameterListModel::data(const QModelIndex& index, int role) const {
    const auto line = ListRowAt(index.row());
    if (!line || index.column() < 0 || index.column() > 1) return {};
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return QString::fromStdString(list_.CellText(*line, index.column()));
        case kGroupRole:
            return list_.RowAt(*line)->IsGroup();
        case kExpandedRole:
            return list_.RowAt(*line)->IsGroup() && (allExpanded_ || list_.IsExpandedGroup(*line));
        default:
            return {};
    }
}

QVariant ParameterListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    if (section == 0) return QString::fromUtf8(ViewText::kNameColumn);
    if (section == 1) return QString::fromUtf8(ViewText::kValueColumn);
    return {};
}

Qt::ItemFlags ParameterListModel::flags(const QModelIndex& index) const {
    // The cells are edited by the list's own editors, never through the model.
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

}  // namespace velterra
