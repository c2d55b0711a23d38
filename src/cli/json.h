// A small JSON value that keeps the order of object keys, written as UTF-8 for the report.
#pragma once

#include <QString>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

/// Buffered UTF-8 output to a stream, flushed in large blocks.
class JsonOut {
public:
    explicit JsonOut(FILE *file) : m_file(file) { m_buffer.reserve(kBlock * 2); }
    ~JsonOut() { flush(); }
    std::string &buffer() { return m_buffer; }
    void maybeFlush()
    {
        if (m_buffer.size() >= kBlock)
            flush();
    }
    void flush()
    {
        std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file);
        m_buffer.clear();
    }

private:
    static constexpr size_t kBlock = size_t(1) << 20;
    FILE *m_file;
    std::string m_buffer;
};

class Json {
public:
    enum class Kind { Null, Bool, Number, String, Array, Object, Deferred };

    Json() = default;
    Json(bool value) : m_kind(Kind::Bool), m_bool(value) {}
    Json(int value) : m_kind(Kind::Number), m_number(value), m_integer(true) {}
    Json(long long value) : m_kind(Kind::Number), m_number(double(value)), m_integer(true) {}
    Json(double value) : m_kind(Kind::Number), m_number(value) {}
    Json(const QString &value) : m_kind(Kind::String), m_text(value.toStdString()) {}
    Json(const char *value) : m_kind(Kind::String), m_text(value) {}

    static Json array()
    {
        Json j;
        j.m_kind = Kind::Array;
        return j;
    }
    static Json object()
    {
        Json j;
        j.m_kind = Kind::Object;
        return j;
    }
    /// A value written by `writer` straight into the output when its turn comes (long point
    /// lists); whatever it reads must live until then.
    static Json deferred(std::function<void(JsonOut &)> writer)
    {
        Json j;
        j.m_kind = Kind::Deferred;
        j.m_writer = std::move(writer);
        return j;
    }

    /// Appends to an array.
    Json &append(Json value);
    /// Adds a key to an object (keys keep their insertion order).
    Json &insert(const char *key, Json value);

    /// Compact UTF-8 text; an object at `depth` 0 puts each key on its own line.
    void write(JsonOut &out, int depth = 1) const;

    /// Appends a double as the shortest text that reads back to it, with a decimal point
    /// ("null" when it is not finite).
    static void writeNumber(std::string &out, double value);
    /// The same text written at `out` (room for kNumberChars); returns the end.
    static constexpr size_t kNumberChars = 32;
    static char *formatNumber(char *out, double value);
    static void writeString(std::string &out, std::string_view utf8);
    /// True when `utf8` needs no escaping inside quotes.
    static bool isPlain(std::string_view utf8);

private:
    Kind m_kind = Kind::Null;
    bool m_bool = false;
    double m_number = 0;
    bool m_integer = false;
    std::string m_text;
    std::vector<Json> m_items;
    std::vector<std::pair<std::string, Json>> m_members;
    std::function<void(JsonOut &)> m_writer;
};
