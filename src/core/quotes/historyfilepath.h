// Where the history of one symbol and timeframe lives in the terminal's history folder.
#pragma once

#include <QString>

/// `folder`, the platform's separator (not doubled when `folder` already ends in one), then
/// `symbol`, `minutes` and ".hst": folder /h, symbol GBPJPY and D1 give /h/GBPJPY1440.hst.
/// Nothing else is trimmed or checked.
QString HistoryFilePath(const QString &folder, const QString &symbol, int minutes);
