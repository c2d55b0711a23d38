// History file access over a memory map, with positioned reads as the fallback.
#include "quotes/historyreader.h"

#include <QtEndian>

#include <cstring>

namespace {

double doubleAt(const uchar *p)
{
    const quint64 bits = qFromLittleEndian<quint64>(p);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

HistoryBar decode(const uchar *record, int version)
{
    HistoryBar bar;
    if (version == 400) {
        bar.time = qFromLittleEndian<qint32>(record);
        bar.open = doubleAt(record + 4);
        bar.low = doubleAt(record + 12);
        bar.high = doubleAt(record + 20);
        bar.close = doubleAt(record + 28);
    } else {
        bar.time = qFromLittleEndian<qint64>(record);
        bar.open = doubleAt(record + 8);
        bar.high = doubleAt(record + 16);
        bar.low = doubleAt(record + 24);
        bar.close = doubleAt(record + 32);
    }
    return bar;
}

} // namespace

bool HistoryReader::open(const QString &path)
{
    close();
    m_error.clear();
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("Не могу открыть файл");
        return false;
    }
    const qint64 size = m_file.size();
    if (size < kHeaderSize)
        return true;
    uchar head[4];
    if (m_file.read(reinterpret_cast<char *>(head), 4) != 4) {
        m_error = QStringLiteral("Не могу открыть файл");
        close();
        return false;
    }
    const qint32 version = qFromLittleEndian<qint32>(head);
    if (version != 400 && version != 401) {
        m_error = QStringLiteral("Не могу открыть файл: неизвестная версия %1").arg(version);
        close();
        return false;
    }
    m_version = version;
    m_recordSize = version == 400 ? 44 : 60;
    m_count = (size - kHeaderSize) / m_recordSize;
    if (m_count > 0)
        m_map = m_file.map(0, size); // null when the file can't be mapped: read by position
    return true;
}

void HistoryReader::close()
{
    if (m_map)
        m_file.unmap(const_cast<uchar *>(m_map));
    m_map = nullptr;
    if (m_file.isOpen())
        m_file.close();
    m_version.reset();
    m_count = 0;
    m_recordSize = 0;
}

HistoryBar HistoryReader::bar(qint64 index) const
{
    const qint64 offset = kHeaderSize + index * m_recordSize;
    if (m_map)
        return decode(m_map + offset, *m_version);
    uchar record[60] = {};
    if (!m_file.seek(offset) ||
        m_file.read(reinterpret_cast<char *>(record), m_recordSize) != m_recordSize) {
        HistoryBar unreadable; // a file cut short while open: a time that every caller skips
        unreadable.time = -1;
        return unreadable;
    }
    return decode(record, *m_version);
}

qint64 HistoryReader::lowerBound(qint64 time) const
{
    qint64 first = 0;
    qint64 count = m_count;
    while (count > 0) {
        const qint64 half = count / 2;
        if (bar(first + half).time < time) {
            first += half + 1;
            count -= half + 1;
        } else {
            count = half;
        }
    }
    return first;
}
