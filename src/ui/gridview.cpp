// Grid creation shared by the tabs.
#include "gridview.h"

#include "shadedcelldelegate.h"

#include <QHeaderView>

QTableView *CreateResultGrid(QWidget *parent, const QString &name, const QRect &geometry,
                             const QList<int> &columnWidths, int rowHeight)
{
    auto *grid = new QTableView(parent);
    grid->setObjectName(name);
    grid->setGeometry(geometry);
    grid->setItemDelegate(new ShadedCellDelegate(grid));
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(rowHeight);
    grid->verticalHeader()->setMinimumSectionSize(16);
    grid->horizontalHeader()->setDefaultSectionSize(64);
    grid->horizontalHeader()->setMinimumSectionSize(20);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    grid->horizontalHeader()->setFixedHeight(rowHeight);
    ApplyColumnWidths(grid, columnWidths);
    return grid;
}

void ApplyColumnWidths(QTableView *grid, const QList<int> &columnWidths)
{
    for (int i = 0; i < columnWidths.size(); ++i)
        grid->horizontalHeader()->resizeSection(i, columnWidths[i]);
}

void SetGridModel(QTableView *grid, QAbstractItemModel *model, const QList<int> &columnWidths)
{
    grid->setModel(model);
    ApplyColumnWidths(grid, columnWidths);
    QObject::connect(model, &QAbstractItemModel::modelReset, grid,
                     [grid, columnWidths] { ApplyColumnWidths(grid, columnWidths); });
}
