// Writes small history files (either record format, torn or short on purpose) for the tests.
#pragma once

#include "quotes/bardatetime.h"
#include "quotes/historyreader.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

#include <cstring>
#include <vector>

namespace historyfixture {

inline void putDouble(QByteArray &out, double value)
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

/// A 148-byte header whose first int32 is `version`, then one record per bar.
inline QByteArray historyBytes(int version, const std::vector<HistoryBar> &bars)
{
    QByteArray out;
    putInt<qint32>(out, version);
    out.append(QByteArray("EURUSD").leftJustified(12, '\0'));
    out.append(QByteArray(int(HistoryReader::kHeaderSize) - out.size(), '\0'));
    for (const HistoryBar &b : bars) {
        if (version == 400) {
            putInt<qint32>(out, qint32(b.time));
            putDouble(out, b.open);
            putDouble(out, b.low);
            putDouble(out, b.high);
            putDouble(out, b.close);
            putDouble(out, 100.0);
        } else {
            putInt<qint64>(out, b.time);
            putDouble(out, b.open);
            putDouble(out, b.high);
            putDouble(out, b.low);
            putDouble(out, b.close);
            putInt<qint64>(out, 100);
            putInt<qint32>(out, 2);
            putInt<qint64>(out, 0);
        }
    }
    return out;
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

/// Seconds since 1970 of a UTC date and time.
inline qint64 utc(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

/// `count` bars of `minutes` from `first`; bar k opens at 1.0 + k / 1000 and closes 0.0005 higher.
inline std::vector<HistoryBar> risingBars(qint64 first, int count, int minutes)
{
    std::vector<HistoryBar> bars;
    for (int k = 0; k < count; ++k) {
        const double open = 1.0 + k / 1000.0;
        bars.push_back(
            {first + qint64(k) * minutes * 60, open, open + 0.001, open - 0.001, open + 0.0005});
    }
    return bars;
}

} // namespace historyfixture
