// Grid creation shared by the tabs.
#include "gridview.h"

#include "shadedcelldelegate.h"

#include <QHeaderView>
#include <QStyle>

#include <algorithm>

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

int CellTextMargin(const QTableView *grid)
{
    // The item delegate keeps this much beside the text on each side, the grid line takes one
    // pixel of the section, and one more pixel absorbs the rounding of fractional glyph widths.
    const int side = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
    return 2 * side + 2;
}

void FitColumnsToContent(QTableView *grid, const QList<int> &minimumWidths)
{
    const QAbstractItemModel *model = grid->model();
    if (!model)
        return;
    QHeaderView *header = grid->horizontalHeader();
    const QFontMetrics metrics(grid->font());
    const int margin = CellTextMargin(grid);
    const int headerMargin =
        2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header) + 2;
    const int rows = model->rowCount();
    for (int c = 0; c < model->columnCount(); ++c) {
        // The header draws its text between two margins (its size hint would keep room for a
        // sort indicator the grids never show).
        const QString title = model->headerData(c, Qt::Horizontal).toString();
        int width = std::max(minimumWidths.value(c, header->defaultSectionSize()),
                             header->fontMetrics().horizontalAdvance(title) + headerMargin);
        for (int r = 0; r < rows; ++r)
            width = std::max(
                width, metrics.horizontalAdvance(model->index(r, c).data().toString()) + margin);
        header->resizeSection(c, width);
    }
}

void SetGridModel(QTableView *grid, QAbstractItemModel *model, const QList<int> &columnWidths)
{
    grid->setModel(model);
    FitColumnsToContent(grid, columnWidths);
    QObject::connect(model, &QAbstractItemModel::modelReset, grid,
                     [grid, columnWidths] { FitColumnsToContent(grid, columnWidths); });
}
