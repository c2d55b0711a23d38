// A read-only result grid (st2 ... st6): row 0 of the grid is the header, cells may be shaded.
#pragma once

#include "statement/shading.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <optional>
#include <vector>

class ResultGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    /// `rows[0]` is the header; `shades` (same shape, may be empty) colours the cells.
    void setGrid(std::vector<QStringList> rows,
                 std::vector<std::vector<std::optional<Shade>>> shades = {});
    void setHeader(const QStringList &header);
    const std::vector<QStringList> &grid() const { return m_rows; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<QStringList> m_rows{QStringList()};
    std::vector<std::vector<std::optional<Shade>>> m_shades;
    int m_columns = 0;
};
