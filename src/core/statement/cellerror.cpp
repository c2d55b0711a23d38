// Formatting of conversion errors for message boxes and the report.
#include "statement/cellerror.h"

QString CellError::describe() const
{
    QString where;
    if (row >= 0)
        where = QStringLiteral("Строка %1, столбец %2").arg(row).arg(column);
    else
        where = QStringLiteral("Поле «%1»").arg(column);
    return QStringLiteral("%1: «%2» — %3").arg(where, text, message);
}

