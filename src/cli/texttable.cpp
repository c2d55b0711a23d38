// Column-aligned text tables.
#include "texttable.h"

#include <algorithm>

namespace {
bool looksNumeric(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text)
        if (!c.isDigit() && c != QLatin1Char('-') && c != QLatin1Char('.') &&
            c != QLatin1Char(',') && c != QLatin1Char('E') && c != QLatin1Char('+'))
            return false;
    return true;
}
} // namespace

QString RenderTextTable(const std::vector<QStringList> &rows, int indent)
{
    std::vector<int> widths;
    for (const QStringList &row : rows)
        for (int c = 0; c < row.size(); ++c) {
            if (size_t(c) >= widths.size())
                widths.push_back(0);
            widths[size_t(c)] = std::max(widths[size_t(c)], int(row[c].size()));
        }
    QString out;
    for (size_t r = 0; r < rows.size(); ++r) {
        QString line(indent, QLatin1Char(' '));
        for (int c = 0; c < rows[r].size(); ++c) {
            const QString &cell = rows[r][c];
            const int width = widths[size_t(c)];
            if (c)
                line += QStringLiteral("  ");
            line += (r > 0 && looksNumeric(cell)) ? cell.rightJustified(width)
                                                  : cell.leftJustified(width);
        }
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
        out += line + QLatin1Char('\n');
    }
    return out;
}
