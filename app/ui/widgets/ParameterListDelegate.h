#pragma once
#include <QPoint>
#include <QStyledItemDelegate>

namespace velterra {

// Draws the parameter list's lines: a group line with its plus/minus box in front of the name
// (minus while expanded), item lines with their name indented under it.
class ParameterListDelegate : public QStyledItemDelegate {
    Q_OBJECT

  public:
    // The box spans x 4 to 14 of the name cell; a click toggles the group only inside it and
    // more than 3 pixels away from the line's top and bottom.
    static constexpr int kBoxLeft = 4;
    static constexpr int kBoxRight = 14;
    static constexpr int kBoxInset = 3;
    static constexpr int kTextIndent = 20;

    using QStyledItemDelegate::QStyledItemDelegate;

    // Whether a point of a group line's name cell (relative to the cell) hits the box.
    static bool HitsGroupBox(QPoint inCell, int cellHeight);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace velterra
