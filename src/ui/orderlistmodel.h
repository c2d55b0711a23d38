// The order list model: the statement table as an editable grid, row 0 as the header.
#pragma once

#include "formats/statementimport.h"
#include "statement/statementtable.h"

#include <QAbstractTableModel>

#include <optional>

class OrderListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit OrderListModel(QChar decimalSeparator, QObject *parent = nullptr);

    const StatementTable &table() const { return m_table; }
    /// Replaces the whole table (an import): no edits since, `encoding` is what it was read in,
    /// `account` the statement's money rows and starting balance when it has them (HTML).
    void setTable(StatementTable table, TextEncoding encoding = TextEncoding::Utf8,
                  std::optional<AccountOperations> account = std::nullopt);
    /// The money rows and starting balance of the statement, if it listed them.
    const std::optional<AccountOperations> &account() const { return m_account; }
    /// The encoding the table was read in, which a save keeps.
    TextEncoding encoding() const { return m_encoding; }
    /// True when a cell was edited since the last import or save.
    bool isModified() const { return m_modified; }
    void setModified(bool modified);
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
    TextEncoding m_encoding = TextEncoding::Utf8;
    std::optional<AccountOperations> m_account;
    bool m_modified = false;

Q_SIGNALS:
    void modifiedChanged(bool modified);
};
