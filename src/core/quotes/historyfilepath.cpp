// History file names.
#include "quotes/historyfilepath.h"

#include <QDir>

QString HistoryFilePath(const QString &folder, const QString &symbol, int minutes)
{
    const QChar separator = QDir::separator();
    QString path = folder;
    // A folder chosen or typed on either platform may end in "/" (Qt's own separator too).
    if (!path.endsWith(separator) && !path.endsWith(QLatin1Char('/')))
        path += separator;
    return path + symbol + QString::number(minutes) + QStringLiteral(".hst");
}
