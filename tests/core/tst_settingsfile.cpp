// The settings file: the terminal folder under section "Terminal", key "Path".
#include "settingsfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestSettingsFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void missingFileReadsEmpty();
    void readsTerminalPathIgnoringTheRest();
    void writeThenRead();
    void defaultPathIsBesideTheExecutable();
};

void TestSettingsFile::missingFileReadsEmpty()
{
    QTemporaryDir dir;
    const SettingsFile settings(dir.filePath(QStringLiteral("veltrano.INI")));
    QCOMPARE(settings.terminalPath(), QString());
    QVERIFY(!QFile::exists(settings.path())); // reading never creates the file
}

void TestSettingsFile::readsTerminalPathIgnoringTheRest()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("veltrano.INI"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Chart]\nPath=/not/this\n[Terminal]\nOther=1\nPath=C:/Program Files/Terminal/history\n");
    file.close();
    QCOMPARE(SettingsFile(path).terminalPath(), QStringLiteral("C:/Program Files/Terminal/history"));
}

void TestSettingsFile::writeThenRead()
{
    QTemporaryDir dir;
    const SettingsFile settings(dir.filePath(QStringLiteral("sub/veltrano.INI")));
    QVERIFY(settings.setTerminalPath(QStringLiteral("/opt/терминал/history")));
    QCOMPARE(SettingsFile(settings.path()).terminalPath(), QStringLiteral("/opt/терминал/history"));
}

void TestSettingsFile::defaultPathIsBesideTheExecutable()
{
    const QString path = SettingsFile::defaultPath();
    QVERIFY(path.endsWith(QStringLiteral("/tst_settingsfile.INI")));
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
