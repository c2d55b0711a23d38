// Result grid model.
#include "resultgridmodel.h"

#include "roles.h"

#include <QColor>

void ResultGridModel::setGrid(std::vector<QStringList> rows,
                              std::vector<std::vector<std::optional<Shade>>> shades)
{
    beginResetModel();
    m_rows = std::move(rows);
    if (m_rows.empty())
        m_rows.emplace_back();
    m_shades = std::move(shades);
    m_columns = 0;
    for (const QStringList &row : m_rows)
        m_columns = std::max(m_columns, int(row.size()));
    endResetModel();
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, std::max(0, m_columns - 1));
}

void ResultGridModel::setHeader(const QStringList &header)
{
    std::vector<QStringList> rows{header};
    setGrid(std::move(rows));
}

int ResultGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size()) - 1;
}

int ResultGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant ResultGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const size_t row = size_t(index.row()) + 1;
    if (role == Qt::DisplayRole)
        return m_rows[row].value(index.column());
    if (role == ShadeRole && row < m_shades.size() &&
        size_t(index.column()) < m_shades[row].size()) {
        if (const auto &shade = m_shades[row][size_t(index.column())])
            return QColor(shade->red, shade->green, shade->blue);
    }
    return {};
}

QVariant ResultGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return {};
    return m_rows.front().value(section);
}
