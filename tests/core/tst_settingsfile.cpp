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
    void readsValuesVerbatim_data();
    void readsValuesVerbatim();
    void writeKeepsOtherLines_data();
    void writeKeepsOtherLines();
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
    file.write(
        "[Chart]\nPath=/not/this\n[Terminal]\nOther=1\nPath=C:/Program Files/Terminal/history\n");
    file.close();
    QCOMPARE(SettingsFile(path).terminalPath(),
             QStringLiteral("C:/Program Files/Terminal/history"));
}

void TestSettingsFile::readsValuesVerbatim_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected");
    QTest::newRow("backslashes") << QByteArray("[Terminal]\nPath=C:\\Program Files\\Terminal\n")
                                 << "C:\\Program Files\\Terminal";
    QTest::newRow("comma") << QByteArray("[Terminal]\nPath=D:\\MT4, demo\\history\n")
                           << "D:\\MT4, demo\\history";
    QTest::newRow("semicolon") << QByteArray("[Terminal]\nPath=/data/a;b\n") << "/data/a;b";
    QTest::newRow("quotes kept") << QByteArray("[Terminal]\nPath=\"C:\\x\"\n") << "\"C:\\x\"";
    QTest::newRow("case of section and key") << QByteArray("[TERMINAL]\npath=/h\n") << "/h";
    QTest::newRow("blanks around =") << QByteArray("[ Terminal ]\n  Path =  /h\n") << "/h";
    QTest::newRow("BOM and CRLF") << QByteArray("\xEF\xBB\xBF[Terminal]\r\nPath=C:\\T\r\n")
                                  << "C:\\T";
    QTest::newRow("no final line break") << QByteArray("[Terminal]\nPath=/h") << "/h";
    QTest::newRow("other section first")
        << QByteArray("[Chart]\nPath=/no\n[Terminal]\nPath=/yes\n") << "/yes";
    QTest::newRow("comment line") << QByteArray("[Terminal]\n;Path=/no\nPath=/yes\n") << "/yes";
    QTest::newRow("Cyrillic") << QByteArray("[Terminal]\nPath=/home/трейдер/history\n")
                              << "/home/трейдер/history";
    QTest::newRow("key in no section") << QByteArray("Path=/no\n") << "";
    QTest::newRow("garbage") << QByteArray("\x00\x01[[[=\xff\n==\n") << "";
}

void TestSettingsFile::readsValuesVerbatim()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("veltrano.INI"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    QCOMPARE(SettingsFile(path).terminalPath(), expected);
}

void TestSettingsFile::writeKeepsOtherLines_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("replaces the key's value only")
        << QByteArray("; comment\n[Chart]\nPath=/keep\n[terminal]\nOther=x,y\nPATH=/old\n")
        << QByteArray(
               "; comment\n[Chart]\nPath=/keep\n[terminal]\nOther=x,y\nPATH=C:\\New Folder\n");
    QTest::newRow("adds the key to its section")
        << QByteArray("[Terminal]\nOther=1\n\n[Chart]\nA=b\n")
        << QByteArray("[Terminal]\nOther=1\nPath=C:\\New Folder\n\n[Chart]\nA=b\n");
    QTest::newRow("adds the section")
        << QByteArray("[Chart]\nA=b\n")
        << QByteArray("[Chart]\nA=b\n\n[Terminal]\nPath=C:\\New Folder\n");
    QTest::newRow("keeps BOM and CRLF")
        << QByteArray("\xEF\xBB\xBF[Terminal]\r\nPath=/old\r\nX=1\r\n")
        << QByteArray("\xEF\xBB\xBF[Terminal]\r\nPath=C:\\New Folder\r\nX=1\r\n");
    QTest::newRow("empty file") << QByteArray() << QByteArray("[Terminal]\nPath=C:\\New Folder\n");
}

void TestSettingsFile::writeKeepsOtherLines()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("veltrano.INI"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(before);
    file.close();
    const QString folder = QStringLiteral("C:\\New Folder");
    QVERIFY(SettingsFile(path).setTerminalPath(folder));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), after);
    QCOMPARE(SettingsFile(path).terminalPath(), folder);
}

void TestSettingsFile::writeThenRead()
{
    QTemporaryDir dir;
    const SettingsFile settings(dir.filePath(QStringLiteral("sub/veltrano.INI")));
    QVERIFY(settings.setTerminalPath(QStringLiteral("/opt/терминал/history")));
    QCOMPARE(SettingsFile(settings.path()).terminalPath(), QStringLiteral("/opt/терминал/history"));
    QVERIFY(!settings.setTerminalPath(QStringLiteral("two\nlines")));
    QVERIFY(settings.setImportFolder(QStringLiteral("/home/me/statements")));
    QCOMPARE(SettingsFile(settings.path()).importFolder(), QStringLiteral("/home/me/statements"));
    QCOMPARE(SettingsFile(settings.path()).terminalPath(), QStringLiteral("/opt/терминал/history"));
}

void TestSettingsFile::defaultPathIsBesideTheExecutable()
{
    const QString path = SettingsFile::defaultPath();
    QVERIFY(path.endsWith(QStringLiteral("/tst_settingsfile.INI")));
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
