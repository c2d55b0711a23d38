// The order list model: the statement table as an editable grid, row 0 as the header.
#pragma once

#include "statement/statementtable.h"

#include <QAbstractTableModel>

class OrderListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit OrderListModel(QChar decimalSeparator, QObject *parent = nullptr);

    const StatementTable &table() const { return m_table; }
    void setTable(StatementTable table);
    QChar decimalSeparator() const { return m_decimalSeparator; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

private:
    StatementTable m_table;
    QChar m_decimalSeparator;
};
