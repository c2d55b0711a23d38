// A plain INI reader and a writer that changes one line and keeps all the others.
#include "settingsfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

#include <optional>

namespace {

// The file as lines, with what it needs to be written back unchanged.
struct IniText {
    QStringList lines;
    bool byteOrderMark = false;
    QString lineEnd = QStringLiteral("\n");
    bool finalLineEnd = true;
};

std::optional<IniText> readIni(const QString &path)
{
    QFile file(path);
    // A pipe would keep the reading waiting: only a regular file is read.
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    IniText ini;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        ini.byteOrderMark = true;
        bytes.remove(0, 3);
    }
    const QString text = QString::fromUtf8(bytes);
    if (text.contains(QLatin1String("\r\n")))
        ini.lineEnd = QStringLiteral("\r\n");
    ini.lines = text.split(QLatin1Char('\n'));
    ini.finalLineEnd = text.isEmpty() || text.endsWith(QLatin1Char('\n'));
    if (ini.finalLineEnd)
        ini.lines.removeLast();
    for (QString &line : ini.lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    return ini;
}

// The section a line opens, or nothing when it opens none.
std::optional<QString> sectionOf(const QString &line)
{
    const QString trimmed = line.trimmed();
    if (!trimmed.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
    if (close < 0)
        return std::nullopt;
    return trimmed.mid(1, close - 1).trimmed();
}

// The key of a "key=value" line; nothing for comments and other lines.
std::optional<QString> keyOf(const QString &line)
{
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith(QLatin1Char(';')) || trimmed.startsWith(QLatin1Char('#')))
        return std::nullopt;
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals <= 0)
        return std::nullopt;
    return line.left(equals).trimmed();
}

QString valueOf(const QString &line)
{
    qsizetype begin = line.indexOf(QLatin1Char('=')) + 1;
    while (begin < line.size() &&
           (line.at(begin) == QLatin1Char(' ') || line.at(begin) == QLatin1Char('\t')))
        ++begin;
    return line.mid(begin);
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

QString SettingsFile::defaultPath()
{
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    const QString name = exe.completeBaseName() + QStringLiteral(".INI");
    const QString beside = exe.absoluteDir().filePath(name);
    const QFileInfo besideInfo(beside);
    const bool writable =
        besideInfo.exists() ? besideInfo.isWritable() : QFileInfo(exe.absolutePath()).isWritable();
    if (writable)
        return beside;
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return QDir(config).filePath(name);
}

QString SettingsFile::value(const QString &section, const QString &key) const
{
    const std::optional<IniText> ini = readIni(m_path);
    if (!ini)
        return QString();
    bool inSection = false;
    for (const QString &line : ini->lines) {
        if (const auto name = sectionOf(line)) {
            inSection = sameName(*name, section);
            continue;
        }
        if (!inSection)
            continue;
        if (const auto name = keyOf(line); name && sameName(*name, key))
            return valueOf(line);
    }
    return QString();
}

bool SettingsFile::setValue(const QString &section, const QString &key, const QString &value) const
{
    if (value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r')))
        return false;
    std::optional<IniText> read = readIni(m_path);
    // A file that is there but can't be read is not replaced by this one line.
    if (!read && QFileInfo::exists(m_path))
        return false;
    IniText ini = read.value_or(IniText());
    qsizetype sectionLine = -1; // the header of the section, -1 while not found
    qsizetype lastEntry = -1;   // the section's last non-blank line
    qsizetype keyLine = -1;
    bool inSection = false;
    for (qsizetype i = 0; i < ini.lines.size() && keyLine < 0; ++i) {
        const QString &line = ini.lines.at(i);
        if (const auto name = sectionOf(line)) {
            if (inSection)
                break; // the section ended without the key
            inSection = sameName(*name, section);
            if (inSection)
                sectionLine = lastEntry = i;
            continue;
        }
        if (!inSection)
            continue;
        if (!line.trimmed().isEmpty())
            lastEntry = i;
        if (const auto name = keyOf(line); name && sameName(*name, key))
            keyLine = i;
    }
    if (keyLine >= 0) {
        const QString &line = ini.lines.at(keyLine);
        ini.lines[keyLine] = line.left(line.indexOf(QLatin1Char('=')) + 1) + value;
    } else if (sectionLine >= 0) {
        ini.lines.insert(lastEntry + 1, key + QLatin1Char('=') + value);
    } else {
        if (!ini.lines.isEmpty() && !ini.lines.constLast().trimmed().isEmpty())
            ini.lines.append(QString());
        ini.lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        ini.lines.append(key + QLatin1Char('=') + value);
    }

    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray bytes;
    if (ini.byteOrderMark)
        bytes += "\xEF\xBB\xBF";
    bytes += ini.lines.join(ini.lineEnd).toUtf8();
    if (ini.finalLineEnd || keyLine < 0)
        bytes += ini.lineEnd.toUtf8();
    file.write(bytes);
    return file.commit();
}
