// Ordered JSON writer.
#include "json.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

bool Json::isPlain(std::string_view s)
{
    for (const char c : s)
        if (c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20)
            return false;
    return true;
}

void Json::writeString(std::string &out, std::string_view s)
{
    if (isPlain(s)) {
        out += '"';
        out.append(s.data(), s.size());
        out += '"';
        return;
    }
    out += '"';
    for (const char c : s) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", unsigned(c));
                out += buf;
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

char *Json::formatNumber(char *out, double value)
{
    if (!std::isfinite(value)) {
        std::memcpy(out, "null", 4);
        return out + 4;
    }
    char *end = std::to_chars(out, out + kNumberChars - 2, value).ptr;
    if (!std::memchr(out, '.', size_t(end - out)) && !std::memchr(out, 'e', size_t(end - out))) {
        *end++ = '.';
        *end++ = '0';
    }
    return end;
}

void Json::writeNumber(std::string &out, double value)
{
    char buf[kNumberChars];
    out.append(buf, size_t(formatNumber(buf, value) - buf));
}

Json &Json::append(Json value)
{
    m_items.push_back(std::move(value));
    return *this;
}

Json &Json::insert(const char *key, Json value)
{
    m_members.emplace_back(key, std::move(value));
    return *this;
}

void Json::write(JsonOut &sink, int depth) const
{
    std::string &out = sink.buffer();
    switch (m_kind) {
    case Kind::Null:
        out += "null";
        break;
    case Kind::Bool:
        out += m_bool ? "true" : "false";
        break;
    case Kind::Number:
        if (m_integer)
            out += std::to_string((long long)m_number);
        else
            writeNumber(out, m_number);
        break;
    case Kind::String:
        writeString(out, m_text);
        break;
    case Kind::Deferred:
        m_writer(sink);
        break;
    case Kind::Array:
        out += '[';
        for (size_t i = 0; i < m_items.size(); ++i) {
            if (i)
                sink.buffer() += ", ";
            m_items[i].write(sink, depth + 1);
        }
        sink.buffer() += ']';
        break;
    case Kind::Object: {
        out += '{';
        for (size_t i = 0; i < m_members.size(); ++i) {
            std::string &o = sink.buffer();
            if (i)
                o += ',';
            o += depth == 0 ? "\n  " : (i ? " " : "");
            writeString(o, m_members[i].first);
            o += ": ";
            m_members[i].second.write(sink, depth + 1);
        }
        std::string &o = sink.buffer();
        if (depth == 0 && !m_members.empty())
            o += '\n';
        o += '}';
        break;
    }
    }
    sink.maybeFlush();
}
