// Chart data of the analyses: points and the trade labels that lead from a point to its row.
#pragma once

#include <QString>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct ChartPoint {
    double x = 0;
    double y = 0;
};

/// Point labels stored compactly (one buffer, offsets): a curve can hold a million of them.
class PointLabels {
public:
    void reserve(size_t count) { m_ends.reserve(count); }
    void append(std::string_view utf8)
    {
        m_bytes.append(utf8.data(), utf8.size());
        m_ends.push_back(m_bytes.size());
    }
    size_t size() const { return m_ends.size(); }
    std::string_view utf8(size_t i) const
    {
        const size_t begin = i == 0 ? 0 : m_ends[i - 1];
        return std::string_view(m_bytes).substr(begin, m_ends[i] - begin);
    }
    QString at(size_t i) const
    {
        const std::string_view s = utf8(i);
        return QString::fromUtf8(s.data(), qsizetype(s.size()));
    }

private:
    std::string m_bytes;
    std::vector<size_t> m_ends;
};

/// A curve whose points each stand for a trade: labels[i] is the Ticket of point i.
struct TradeCurve {
    std::vector<ChartPoint> points;
    PointLabels labels;

    void append(double y, std::string_view ticket)
    {
        points.push_back({double(points.size()), y});
        labels.append(ticket);
    }
};
