// The settings kept between runs in a plain INI file: the trading terminal's history folder
// (section "Terminal", key "Path") and the folder of the last import.
#pragma once

#include <QString>

class SettingsFile {
public:
    /// The INI file next to the executable (its name with the extension ".INI"); when that folder
    /// can't be written, the same name in the user's configuration folder.
    static QString defaultPath();

    explicit SettingsFile(QString path = defaultPath()) : m_path(std::move(path)) {}

    const QString &path() const { return m_path; }

    /// The value of `key` in `section`, both matched without regard to case: the text after the
    /// first "=" of the line (leading blanks skipped) to the end of the line, taken as it stands —
    /// no escapes, no quoting, a ";" or "," inside is part of it. Empty when the file, section or
    /// key is missing. A UTF-8 byte-order mark and CRLF line ends are accepted.
    QString value(const QString &section, const QString &key) const;
    /// Writes `key` = `value` into `section`, replacing the key's line or adding it (and the
    /// section) when missing; every other line of the file stays as it was. False when the file
    /// could not be written, is there but can't be read (it is left as it is; so is anything
    /// but a regular file), or `value` holds a line break.
    bool setValue(const QString &section, const QString &key, const QString &value) const;

    /// The terminal's history folder.
    QString terminalPath() const
    {
        return value(QStringLiteral("Terminal"), QStringLiteral("Path"));
    }
    bool setTerminalPath(const QString &folder) const
    {
        return setValue(QStringLiteral("Terminal"), QStringLiteral("Path"), folder);
    }
    /// The folder of the last imported statement, where the open dialog starts.
    QString importFolder() const
    {
        return value(QStringLiteral("Import"), QStringLiteral("Folder"));
    }
    bool setImportFolder(const QString &folder) const
    {
        return setValue(QStringLiteral("Import"), QStringLiteral("Folder"), folder);
    }

private:
    QString m_path;
};
