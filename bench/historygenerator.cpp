// History generator: pinned random walks for the sample, long minute series for the benchmark.
#include "historygenerator.h"

#include "formats/statementimport.h"
#include "quotes/bardatetime.h"
#include "quotes/tradeinstant.h"
#include "statement/parsenumber.h"
#include "statement/valuerules.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <vector>

namespace {

// SplitMix64 and Box-Muller: the same numbers from every standard library.
class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t next()
    {
        std::uint64_t z = (m_state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    double normal()
    {
        const double u = std::max(unit(), 1e-300);
        return std::sqrt(-2.0 * std::log(u)) * std::cos(6.283185307179586 * unit());
    }

private:
    std::uint64_t m_state;
};

struct Bar {
    std::int64_t time;
    double open, high, low, close;
};

void putDouble(QByteArray &out, double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    char bytes[8];
    qToLittleEndian(bits, bytes);
    out.append(bytes, 8);
}

template <typename T> void putInt(QByteArray &out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, int(sizeof(T)));
}

// The 148-byte header: version, copyright, symbol, period, digits, then times and reserved room.
QByteArray header(const QString &symbol, int minutes, int digits)
{
    QByteArray out;
    putInt<qint32>(out, 401);
    out.append(QByteArray("Veltrano generated history").leftJustified(64, '\0', true));
    out.append(symbol.toLatin1().leftJustified(12, '\0', true));
    putInt<qint32>(out, minutes);
    putInt<qint32>(out, digits);
    out.append(QByteArray(148 - out.size(), '\0'));
    return out;
}

void appendRecord(QByteArray &out, const Bar &bar)
{
    putInt<qint64>(out, bar.time);
    putDouble(out, bar.open);
    putDouble(out, bar.high);
    putDouble(out, bar.low);
    putDouble(out, bar.close);
    putInt<qint64>(out, 100);
    putInt<qint32>(out, 0);
    putInt<qint64>(out, 0);
}

double roundTo(double value, int digits)
{
    const double scale = PowerOfTen(digits);
    return std::round(value * scale) / scale;
}

struct Anchor {
    std::int64_t time;
    double price;
};

// Hourly bars over [first, last) through every anchor (sorted by time).
std::vector<Bar> pinnedWalk(const std::vector<Anchor> &anchors, std::int64_t first,
                            std::int64_t last, int digits, std::uint64_t seed)
{
    const std::int64_t hour = 3600;
    const size_t steps = size_t((last - first) / hour);
    Random random(seed);
    const double level = anchors.front().price;
    // A free walk at every hour boundary, then lines through the anchors' misses added to it, so
    // the walk keeps its wiggles and meets each anchor exactly (the walk between two boundaries
    // taken as straight).
    std::vector<double> walk(steps + 1);
    walk[0] = level;
    for (size_t k = 1; k <= steps; ++k)
        walk[k] = walk[k - 1] + random.normal() * level * 0.0012;
    auto walkAt = [&](std::int64_t t) {
        const double position = double(t - first) / double(hour);
        const size_t k = std::min(size_t(position), steps - 1);
        return walk[k] + (walk[k + 1] - walk[k]) * (position - double(k));
    };
    std::vector<double> miss(anchors.size());
    for (size_t i = 0; i < anchors.size(); ++i)
        miss[i] = anchors[i].price - walkAt(anchors[i].time);
    auto valueAt = [&](std::int64_t t) {
        const auto after =
            std::lower_bound(anchors.begin(), anchors.end(), t,
                             [](const Anchor &a, std::int64_t x) { return a.time < x; });
        const size_t j = size_t(after - anchors.begin());
        double correction;
        if (j == 0)
            correction = miss.front();
        else if (j == anchors.size())
            correction = miss.back();
        else {
            const double f =
                double(t - anchors[j - 1].time) / double(anchors[j].time - anchors[j - 1].time);
            correction = miss[j - 1] + (miss[j] - miss[j - 1]) * f;
        }
        return walkAt(t) + correction;
    };

    std::vector<Bar> bars;
    bars.reserve(steps);
    for (size_t k = 0; k < steps; ++k) {
        const std::int64_t start = first + std::int64_t(k) * hour;
        Bar bar{start, roundTo(valueAt(start), digits), 0, 0,
                roundTo(valueAt(start + hour), digits)};
        double high = std::max(bar.open, bar.close);
        double low = std::min(bar.open, bar.close);
        // Prices met inside this bar or the one before: a mark drawn on the bar after its moment
        // then sits on its candle.
        auto from = std::lower_bound(anchors.begin(), anchors.end(), start - hour,
                                     [](const Anchor &a, std::int64_t x) { return a.time < x; });
        for (; from != anchors.end() && from->time < start + hour; ++from) {
            high = std::max(high, from->price);
            low = std::min(low, from->price);
        }
        bar.high = roundTo(high + std::fabs(random.normal()) * level * 0.0004, digits);
        bar.low = roundTo(low - std::fabs(random.normal()) * level * 0.0004, digits);
        bars.push_back(bar);
    }
    return bars;
}

std::uint64_t seedOf(const QString &symbol)
{
    std::uint64_t h = 1469598103934665603ULL;
    for (const QChar c : symbol)
        h = (h ^ c.unicode()) * 1099511628211ULL;
    return h;
}

} // namespace

bool WriteSampleHistory(const QString &statementPath, const QString &folder, QString *error)
{
    const ImportResult imported = ImportStatement(statementPath);
    if (!imported.table) {
        *error = imported.error;
        return false;
    }
    const StatementTable &table = *imported.table;
    struct Series {
        std::vector<Anchor> anchors;
        int digits = 0;
    };
    std::map<QString, Series> symbols;
    for (int row = 1; row < table.rowCount(); ++row) {
        const QString symbol = table.cell(row, Column::Symbol);
        const auto openDay = ParseTradeDate(table.cell(row, Column::OpenDate));
        const auto openTime = ParseTradeTime(table.cell(row, Column::OpenTime));
        const auto closeDay = ParseTradeDate(table.cell(row, Column::CloseDate));
        const auto closeTime = ParseTradeTime(table.cell(row, Column::CloseTime));
        const auto openPrice = ParseNumber(table.cell(row, Column::OpenPrice), QLatin1Char('.'));
        const auto closePrice = ParseNumber(table.cell(row, Column::ClosePrice), QLatin1Char('.'));
        if (symbol.isEmpty() || !openDay || !openTime || !closeDay || !closeTime || !openPrice ||
            !closePrice)
            continue;
        Series &series = symbols[symbol];
        series.anchors.push_back({TradeInstant(*openDay, *openTime, 0), *openPrice});
        series.anchors.push_back({TradeInstant(*closeDay, *closeTime, 0), *closePrice});
        series.digits = std::max({series.digits, PriceDigits(table.cell(row, Column::OpenPrice)),
                                  PriceDigits(table.cell(row, Column::ClosePrice))});
    }
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot create %1").arg(folder);
        return false;
    }
    for (auto &[symbol, series] : symbols) {
        std::stable_sort(series.anchors.begin(), series.anchors.end(),
                         [](const Anchor &a, const Anchor &b) { return a.time < b.time; });
        const std::int64_t first = (FloorDiv(series.anchors.front().time, 86400) - 3) * 86400;
        const std::int64_t last = (FloorDiv(series.anchors.back().time, 86400) + 4) * 86400;
        QByteArray out = header(symbol, 60, series.digits);
        for (const Bar &bar :
             pinnedWalk(series.anchors, first, last, series.digits, seedOf(symbol)))
            appendRecord(out, bar);
        const QString path = QDir(folder).filePath(symbol + QStringLiteral("60.hst"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(out) != out.size()) {
            *error = QStringLiteral("cannot write %1").arg(path);
            return false;
        }
    }
    return true;
}

bool WriteMinuteHistory(const QString &path, std::int64_t firstTime, std::int64_t endTime,
                        std::uint64_t seed)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QByteArray out = header(QStringLiteral("EURUSD"), 1, 5);
    out.reserve(1 << 22);
    Random random(seed);
    double price = 1.3;
    for (std::int64_t time = firstTime; time < endTime; time += 60) {
        const std::int64_t weekday = (FloorDiv(time, 86400) + 4) % 7; // 0 = Sunday
        if (weekday == 0 || weekday == 6)
            continue;
        const double open = price;
        price = std::max(0.5, price + random.normal() * 0.0002);
        const double wick = std::fabs(random.normal()) * 0.0001;
        appendRecord(out, {time, roundTo(open, 5), roundTo(std::max(open, price) + wick, 5),
                           roundTo(std::min(open, price) - wick, 5), roundTo(price, 5)});
        if (out.size() >= (1 << 22)) {
            if (file.write(out) != out.size())
                return false;
            out.clear();
        }
    }
    return file.write(out) == out.size();
}
