// Aligned plain-text tables for the report.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

/// Renders rows (the first is the header) as columns padded to their widest cell; numbers are
/// right-aligned, texts left-aligned.
QString RenderTextTable(const std::vector<QStringList> &rows, int indent = 2);
