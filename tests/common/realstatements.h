// The ten real account statements under tests/data/statements and the figures printed in them.
#pragma once

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QStringList>

inline QString RealStatementsDir()
{
    return QStringLiteral(TEST_DATA_DIR "/statements");
}

/// statement-01.htm ... statement-10.htm.
inline QStringList RealStatementFiles()
{
    return QDir(RealStatementsDir())
        .entryList({QStringLiteral("statement-*.htm")}, QDir::Files, QDir::Name);
}

/// The "files" object of expected.json: per file the printed Summary and Details figures and
/// the rows as the checker parsed them.
inline QJsonObject RealStatementsExpected()
{
    QFile file(RealStatementsDir() + QStringLiteral("/expected.json"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("expected.json missing");
    return QJsonDocument::fromJson(file.readAll())
        .object()
        .value(QStringLiteral("files"))
        .toObject();
}

/// Number of decimals of a printed number text ("19.06" 2, "79 942" 0).
inline int PrintedDecimals(const QString &printed)
{
    const qsizetype dot = printed.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return 0;
    int n = 0;
    for (qsizetype i = dot + 1; i < printed.size() && printed.at(i).isDigit(); ++i)
        ++n;
    return n;
}
