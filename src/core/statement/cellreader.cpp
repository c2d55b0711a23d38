// Reading whole numbers from tab fields.
#include "statement/cellreader.h"

int ReadIntegerField(const QString &text, const QString &fieldCaption)
{
    if (const auto value = ParseInteger(text))
        return int(*value);
    throw CellErrorException(CellError{-1, fieldCaption, text, QStringLiteral("не целое число")});
}
