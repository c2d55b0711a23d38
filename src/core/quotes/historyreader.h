// Reads the trading terminal's history files: a 148-byte header, then fixed-size bar records.
#pragma once

#include <QFile>
#include <QString>

#include <optional>
#include <vector>

/// One bar of a history file, whatever its record format.
struct HistoryBar {
    qint64 time = 0; ///< opening time in seconds since 1970-01-01 00:00 UTC
    double open = 0;
    double high = 0;
    double low = 0;
    double close = 0;
};

/// A history file opened for reading its bars by position. The header's first int32 is the
/// version and chooses the record: 400 (44 bytes: int32 time, double open, low, high, close,
/// volume) or 401 (60 bytes: int64 time, double open, high, low, close, int64 tick volume, int32
/// spread, int64 real volume). All numbers little-endian, no padding. Records are read by their
/// position: the binary search reads one time field per step and the bars a block at a time, so
/// finding and reading a window costs nearly the same in a file of ten years as in one of a
/// month (no mapping, whose page faults grow with the file).
class HistoryReader {
public:
    static constexpr qint64 kHeaderSize = 148;

    HistoryReader() = default;
    HistoryReader(const HistoryReader &) = delete;
    HistoryReader &operator=(const HistoryReader &) = delete;
    ~HistoryReader() { close(); }

    /// Opens `path`. False when the file can't be opened, or when it holds a whole header whose
    /// version is neither 400 nor 401; errorMessage() then tells which. A file shorter than the
    /// header opens with no bars and no version.
    bool open(const QString &path);
    /// Releases the file; done by the destructor too.
    void close();

    /// "Не могу открыть файл", with the unknown version when that was the reason.
    const QString &errorMessage() const { return m_error; }
    /// 400 or 401; nothing for a file shorter than the header.
    std::optional<int> version() const { return m_version; }

    /// Whole records after the header (a torn last record is not counted).
    qint64 barCount() const { return m_count; }
    /// Bar `index` (0 <= index < barCount()), as stored: nothing is checked. Reading bars in
    /// ascending order reads the file a block at a time. A record that can't be read (the file
    /// cut short while open) comes back with time -1.
    HistoryBar bar(qint64 index) const;
    /// The first position whose bar opens at or after `time`, barCount() when none does; found by
    /// binary search, so it relies on the bars being in time order. Bars out of order give some
    /// position in range, never a crash or a long search.
    qint64 lowerBound(qint64 time) const;

private:
    /// The opening time of bar `index`, -1 when it can't be read.
    qint64 timeAt(qint64 index) const;
    bool readAt(qint64 offset, uchar *into, qint64 size) const;

    mutable QFile m_file; // unbuffered; positioned reads move its offset
    QString m_error;
    mutable std::vector<uchar> m_block; // records m_blockFirst .. m_blockFirst + m_blockCount - 1
    mutable qint64 m_blockFirst = 0;
    mutable qint64 m_blockCount = 0;
    std::optional<int> m_version;
    qint64 m_count = 0;
    qint64 m_recordSize = 0;
};
