// Chart data of the analyses: curves whose point i lies at x = i.
#pragma once

#include "statement/statementtable.h"

#include <QString>

#include <string>
#include <string_view>
#include <vector>

/// A curve whose points each stand for a trade: point i is at x = i with y = values[i], and
/// rows[i] is its statement row, whose Ticket is the point's label.
struct TradeCurve {
    std::vector<double> values;
    std::vector<int> rows;

    void reserve(size_t count)
    {
        values.reserve(count);
        rows.reserve(count);
    }
    void append(double y, int row)
    {
        values.push_back(y);
        rows.push_back(row);
    }
    size_t size() const { return values.size(); }
    /// The label of point i: the Ticket text of its row.
    std::string_view labelUtf8(const StatementTable &table, size_t i) const
    {
        return table.cellUtf8(rows[i], Column::Ticket);
    }
};

/// A copy of a curve's labels taken when the curve is shown, so a click still finds the ticket
/// the point was drawn for after the order list is edited or replaced. One buffer, offsets.
class PointLabels {
public:
    PointLabels() = default;
    PointLabels(const StatementTable &table, const TradeCurve &curve)
    {
        m_ends.reserve(curve.size());
        for (size_t i = 0; i < curve.size(); ++i) {
            const std::string_view s = curve.labelUtf8(table, i);
            m_bytes.append(s.data(), s.size());
            m_ends.push_back(m_bytes.size());
        }
    }
    size_t size() const { return m_ends.size(); }
    QString at(size_t i) const
    {
        const size_t begin = i == 0 ? 0 : m_ends[i - 1];
        return QString::fromUtf8(m_bytes.data() + begin, qsizetype(m_ends[i] - begin));
    }

private:
    std::string m_bytes;
    std::vector<size_t> m_ends;
};
