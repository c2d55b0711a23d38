// Ordered JSON writer.
#include "json.h"

#include <cmath>
#include <cstdio>

namespace {

QString quoted(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"': out += QLatin1String("\\\""); break;
        case '\\': out += QLatin1String("\\\\"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case '\t': out += QLatin1String("\\t"); break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += QLatin1Char('"');
    return out;
}

QString number(double value, bool integer)
{
    if (!std::isfinite(value))
        return QStringLiteral("null");
    if (integer)
        return QString::number(qint64(value));
    // Shortest text that reads back to the same double, always with a decimal point.
    char buf[64];
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(buf, sizeof buf, "%.*g", precision, value);
        if (std::strtod(buf, nullptr) == value)
            break;
    }
    QString text = QString::fromLatin1(buf);
    if (!text.contains(QLatin1Char('.')) && !text.contains(QLatin1Char('e')))
        text += QLatin1String(".0");
    return text;
}

} // namespace

Json &Json::append(Json value)
{
    m_items.push_back(std::move(value));
    return *this;
}

Json &Json::insert(const QString &key, Json value)
{
    m_members.emplace_back(key, std::move(value));
    return *this;
}

QString Json::toText(int depth) const
{
    switch (m_kind) {
    case Kind::Null: return QStringLiteral("null");
    case Kind::Bool: return m_bool ? QStringLiteral("true") : QStringLiteral("false");
    case Kind::Number: return number(m_number, m_integer);
    case Kind::String: return quoted(m_string);
    case Kind::Array: {
        QString out = QStringLiteral("[");
        for (size_t i = 0; i < m_items.size(); ++i) {
            if (i)
                out += QStringLiteral(", ");
            out += m_items[i].toText(depth + 1);
        }
        return out + QLatin1Char(']');
    }
    case Kind::Object: {
        const QString breakText = depth == 0 ? QStringLiteral("\n  ") : QStringLiteral(" ");
        QString out = QStringLiteral("{");
        for (size_t i = 0; i < m_members.size(); ++i) {
            out += i ? QStringLiteral(",") + breakText : (depth == 0 ? breakText : QString());
            out += quoted(m_members[i].first) + QStringLiteral(": ")
                    + m_members[i].second.toText(depth + 1);
        }
        return out + (depth == 0 && !m_members.empty() ? QStringLiteral("\n}") : QStringLiteral("}"));
    }
    }
    return QString();
}
