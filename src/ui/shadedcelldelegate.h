// Paints cells that carry a ShadeRole colour: the fill ignores selection, the text is black.
#pragma once

#include <QStyledItemDelegate>

class ShadedCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};
