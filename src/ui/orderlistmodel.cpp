// Model rows are table rows 1..; the table's row 0 is shown as the horizontal header.
#include "orderlistmodel.h"

#include "roles.h"
#include "statement/shading.h"

#include <QColor>

OrderListModel::OrderListModel(QChar decimalSeparator, QObject *parent)
    : QAbstractTableModel(parent), m_decimalSeparator(decimalSeparator)
{
}

void OrderListModel::setTable(StatementTable table, TextEncoding encoding,
                              std::optional<AccountOperations> account)
{
    beginResetModel();
    m_table = std::move(table);
    m_encoding = encoding;
    m_account = std::move(account);
    endResetModel();
    setModified(false);
    // The header row's texts changed too.
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, StatementTable::kColumnCount - 1);
}

int OrderListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_table.rowCount() - 1;
}

int OrderListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : StatementTable::kColumnCount;
}

QVariant OrderListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row() + 1;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return m_table.cell(row, index.column());
    case ShadeRole:
        if (index.column() == int(Column::Profit)) {
            if (const auto shade =
                    ProfitCellShade(m_table.cellUtf8(row, Column::Profit), m_decimalSeparator))
                return QColor(shade->red, shade->green, shade->blue);
        }
        return {};
    default:
        return {};
    }
}

QVariant OrderListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < StatementTable::kColumnCount ? m_table.cell(0, section)
                                                                      : QVariant();
    // Row numbers as errors name them: the header is row 0.
    return section + 1;
}

Qt::ItemFlags OrderListModel::flags(const QModelIndex &index) const
{
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

bool OrderListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    const QString text = value.toString();
    if (text == m_table.cell(index.row() + 1, index.column()))
        return true;
    m_table.setCell(index.row() + 1, index.column(), text);
    Q_EMIT dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole, ShadeRole});
    setModified(true);
    return true;
}

void OrderListModel::setModified(bool modified)
{
    if (modified == m_modified)
        return;
    m_modified = modified;
    Q_EMIT modifiedChanged(modified);
}
