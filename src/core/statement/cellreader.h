// Reads statement cells as numbers, dates and times; a bad cell throws CellErrorException.
#pragma once

#include "statement/cellerror.h"
#include "statement/parsenumber.h"
#include "statement/statementtable.h"
#include "statement/valuerules.h"

class CellReader {
public:
    CellReader(const StatementTable &table, QChar decimalSeparator)
        : m_table(table), m_decimalSeparator(decimalSeparator)
    {
    }

    const StatementTable &table() const { return m_table; }
    QChar decimalSeparator() const { return m_decimalSeparator; }

    double number(int row, Column column) const
    {
        if (const auto value = ParseNumber(m_table.cellUtf8(row, column), m_decimalSeparator))
            return *value;
        fail(row, column, QStringLiteral("не число"));
    }

    /// 1 = Sunday ... 7 = Saturday.
    int weekday(int row, Column column) const
    {
        if (const auto day = WeekdayOfDate(m_table.cellUtf8(row, column)))
            return *day;
        fail(row, column, QStringLiteral("не дата ГГГГ.ММ.ДД"));
    }

    [[noreturn]] void fail(int row, Column column, const QString &message) const
    {
        throw CellErrorException(
            CellError{row, ColumnName(column), m_table.cell(row, column), message});
    }

private:
    const StatementTable &m_table;
    QChar m_decimalSeparator;
};

/// Reads a whole number typed into a tab field (StrToInt); throws naming the field.
int ReadIntegerField(const QString &text, const QString &fieldCaption);
