// Creation of the grids laid out on the tabs: column widths that fit the texts, header row, shading
// delegate.
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

/// Pixels a column needs beside the width of its widest text.
int CellTextMargin(const QTableView *grid);

/// Widens each column to its header and its widest cell text, never below `minimumWidths`.
void FitColumnsToContent(QTableView *grid, const QList<int> &minimumWidths);

/// Sets the grid's model; after every model reset its columns fit their texts, the laid-out
/// `columnWidths` being the least.
void SetGridModel(QTableView *grid, QAbstractItemModel *model, const QList<int> &columnWidths);
