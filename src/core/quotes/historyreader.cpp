// History file access by position: single time fields for the search, blocks of records for
// reading.
#include "quotes/historyreader.h"

#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {

constexpr qint64 kBlockRecords = 512;

qint64 decodeTime(const uchar *record, int version)
{
    return version == 400 ? qint64(qFromLittleEndian<qint32>(record))
                          : qFromLittleEndian<qint64>(record);
}

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
        bar.time = decodeTime(record, version);
        bar.open = doubleAt(record + 4);
        bar.low = doubleAt(record + 12);
        bar.high = doubleAt(record + 20);
        bar.close = doubleAt(record + 28);
    } else {
        bar.time = decodeTime(record, version);
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
    // Opening a pipe would wait for a writer: only regular files are read.
    if (!QFileInfo(path).isFile() || !m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
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
    return true;
}

void HistoryReader::close()
{
    m_blockFirst = 0;
    m_blockCount = 0;
    if (m_file.isOpen())
        m_file.close();
    m_version.reset();
    m_count = 0;
    m_recordSize = 0;
}

bool HistoryReader::readAt(qint64 offset, uchar *into, qint64 size) const
{
    return m_file.seek(offset) && m_file.read(reinterpret_cast<char *>(into), size) == size;
}

HistoryBar HistoryReader::bar(qint64 index) const
{
    if (index < m_blockFirst || index >= m_blockFirst + m_blockCount) {
        const qint64 count = std::min(kBlockRecords, m_count - index);
        m_block.resize(size_t(count * m_recordSize));
        m_blockFirst = index;
        m_blockCount = 0;
        if (count > 0 &&
            readAt(kHeaderSize + index * m_recordSize, m_block.data(), count * m_recordSize))
            m_blockCount = count;
    }
    if (index < m_blockFirst || index >= m_blockFirst + m_blockCount) {
        HistoryBar unreadable; // a time that every caller skips
        unreadable.time = -1;
        return unreadable;
    }
    return decode(m_block.data() + (index - m_blockFirst) * m_recordSize, *m_version);
}

qint64 HistoryReader::timeAt(qint64 index) const
{
    uchar time[8];
    const qint64 size = *m_version == 400 ? 4 : 8;
    if (!readAt(kHeaderSize + index * m_recordSize, time, size))
        return -1;
    return decodeTime(time, *m_version);
}

qint64 HistoryReader::lowerBound(qint64 time) const
{
    qint64 first = 0;
    qint64 count = m_count;
    while (count > 0) {
        const qint64 half = count / 2;
        if (timeAt(first + half) < time) {
            first += half + 1;
            count -= half + 1;
        } else {
            count = half;
        }
    }
    return first;
}
