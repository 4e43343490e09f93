#include "ParameterListDelegate.h"

#include <QPainter>

#include "ParameterListModel.h"

namespace velterra {

bool ParameterListDelegate::HitsGroupBox(QPoint inCell, int cellHeight) {
    return inCell.x() >= kBoxLeft && inCell.x() <= kBoxRight && inCell.y() > kBoxInset &&
           inCell.y() < cellHeight - kBoxInset;
}

void ParameterListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    if (index.column() != 0) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem shifted(option);
    shifted.rect.setLeft(option.rect.left() + kTextIndent);
    const bool group = index.data(ParameterListModel::kGroupRole).toBool();
    if (group) shifted.font.setBold(true);
    // The cell's background (selection) spans the whole cell, the text starts after the box.
    QStyleOptionViewItem background(option);
    initStyleOption(&background, index);
    background.text.clear();
    option.widget->style()->drawControl(QStyle::CE_ItemViewItem, &background, painter,
                                        option.widget);
    QStyledItemDelegate::paint(painter, shifted, index);
    if (!group) return;

    painter->save();
    const int side = kBoxRight - kBoxLeft + 1;
    const QRect box(option.rect.left() + kBoxLeft, option.rect.center().y() - side / 2, side, side);
    painter->setPen(option.palette.color(QPalette::Text));
    painter->setBrush(option.palette.color(QPalette::Base));
    painter->drawRect(box.adjusted(0, 0, -1, -1));
    const int mid = box.top() + side / 2;
    painter->drawLine(box.left() + 2, mid, box.right() - 2, mid);
    if (!index.data(ParameterListModel::kExpandedRole).toBool()) {
        const int centre = box.left() + side / 2;
        painter->drawLine(centre, box.top() + 2, centre, box.bottom() - 2);
    }
    painter->restore();
}

QSize ParameterListDelegate::sizeHint(const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (index.column() == 0) size.rwidth() += kTextIndent;
    return size;
}

}  // namespace velterra
