#pragma once
#include <QAbstractTableModel>
#include <optional>
#include <vector>

#include "core/ParameterList.h"

namespace velterra {

// The parameter list's lines as a Qt table model: the lines of the core's ParameterList that
// the search field leaves visible, with the name and value columns. The model only shows the
// list; the view changes it and tells the model.
class ParameterListModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    // Whether a line is a group line, and whether its box shows the minus sign.
    static constexpr int kGroupRole = Qt::UserRole + 1;
    static constexpr int kExpandedRole = Qt::UserRole + 2;

    explicit ParameterListModel(const ParameterList& list, QObject* parent = nullptr);

    // After the list was rebuilt: which of its lines are shown, in order. With allExpanded
    // every group line shows its minus box (the search field lists every group's matches).
    void Reset(std::vector<int> visibleLines, bool allExpanded = false);
    // Every visible line of the list, in order.
    void ResetAll();
    // A cell of the list changed.
    void LineChanged(int listRow);

    // The list line of a model row and back; nothing outside.
    std::optional<int> ListRowAt(int modelRow) const;
    std::optional<int> ModelRowOf(int listRow) const;
    // The block and row a model row shows.
    std::optional<ParameterListRow> RowAt(int modelRow) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

  private:
    const ParameterList& list_;
    std::vector<int> visible_;
    bool allExpanded_ = false;
};

}  // namespace velterra
