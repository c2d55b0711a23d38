// The one setting kept between runs: the trading terminal's folder (section "Terminal", key "Path").
#pragma once

#include <QString>

class SettingsFile {
public:
    /// The INI file next to the executable (its name with the extension ".INI"); when that folder
    /// can't be written, the same name in the user's configuration folder.
    static QString defaultPath();

    explicit SettingsFile(QString path = defaultPath()) : m_path(std::move(path)) {}

    const QString &path() const { return m_path; }
    /// The stored folder, empty when the file, section or key is missing.
    QString terminalPath() const;
    /// Stores the folder; false when the file could not be written.
    bool setTerminalPath(const QString &folder) const;

private:
    QString m_path;
};
