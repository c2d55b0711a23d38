// INI access through QSettings; the file is opened for each access and released at once.
#include "settingsfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {
const QString kKey = QStringLiteral("Terminal/Path");
}

QString SettingsFile::defaultPath()
{
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    const QString name = exe.completeBaseName() + QStringLiteral(".INI");
    const QString beside = exe.absoluteDir().filePath(name);
    const QFileInfo besideInfo(beside);
    const bool writable = besideInfo.exists() ? besideInfo.isWritable()
                                              : QFileInfo(exe.absolutePath()).isWritable();
    if (writable)
        return beside;
    const QString config = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return QDir(config).filePath(name);
}

QString SettingsFile::terminalPath() const
{
    if (!QFileInfo::exists(m_path))
        return QString();
    QSettings ini(m_path, QSettings::IniFormat);
    return ini.value(kKey, QString()).toString();
}

bool SettingsFile::setTerminalPath(const QString &folder) const
{
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSettings ini(m_path, QSettings::IniFormat);
    ini.setValue(kKey, folder);
    ini.sync();
    return ini.status() == QSettings::NoError;
}
