// Shaded cell painting for the order list and the result grids.
#include "shadedcelldelegate.h"

#include "roles.h"

#include <QColor>
#include <QPainter>

void ShadedCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                               const QModelIndex &index) const
{
    const QColor fill = index.data(ShadeRole).value<QColor>();
    if (!fill.isValid()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    painter->save();
    painter->fillRect(option.rect, fill);
    painter->setPen(Qt::black);
    painter->setFont(option.font);
    painter->drawText(option.rect.adjusted(3, 0, -1, 0), Qt::AlignLeft | Qt::AlignVCenter,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}
