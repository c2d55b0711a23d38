// Creation of the grids laid out on the tabs: fixed column widths, header row, shading delegate.
#pragma once

#include <QList>
#include <QRect>
#include <QTableView>

/// A read-only grid at `geometry` with the given column widths and row height.
QTableView *CreateResultGrid(QWidget *parent, const QString &name, const QRect &geometry,
                             const QList<int> &columnWidths, int rowHeight = 24);

/// Applies the column widths to a grid's header (after its model is set).
void ApplyColumnWidths(QTableView *grid, const QList<int> &columnWidths);

class QAbstractItemModel;

/// Sets the grid's model and keeps its column widths across model resets.
void SetGridModel(QTableView *grid, QAbstractItemModel *model, const QList<int> &columnWidths);
