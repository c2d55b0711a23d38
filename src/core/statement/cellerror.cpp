// Formatting of conversion errors for message boxes and the report.
#include "statement/cellerror.h"

QString QuotedCellText(const QString &text)
{
    constexpr qsizetype kShown = 40;
    if (text.size() <= kShown)
        return text;
    qsizetype cut = kShown;
    if (text.at(cut - 1).isHighSurrogate()) // never split a character in two
        --cut;
    return text.left(cut) + QChar(0x2026);
}

QString CellError::describe() const
{
    QString where;
    if (row >= 0)
        where = QStringLiteral("Строка %1, столбец %2").arg(row).arg(column);
    else
        where = QStringLiteral("Поле «%1»").arg(column);
    return QStringLiteral("%1: «%2» — %3").arg(where, QuotedCellText(text), message);
}
