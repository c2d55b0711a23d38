// A small JSON value that keeps the order of object keys, written as UTF-8 for the report.
#pragma once

#include <QString>

#include <string>
#include <utility>
#include <vector>

class Json {
public:
    enum class Kind { Null, Bool, Number, String, Array, Object, Raw };

    Json() = default;
    Json(bool value) : m_kind(Kind::Bool), m_bool(value) {}
    Json(int value) : m_kind(Kind::Number), m_number(value), m_integer(true) {}
    Json(long long value) : m_kind(Kind::Number), m_number(double(value)), m_integer(true) {}
    Json(double value) : m_kind(Kind::Number), m_number(value) {}
    Json(const QString &value) : m_kind(Kind::String), m_text(value.toStdString()) {}
    Json(const char *value) : m_kind(Kind::String), m_text(value) {}

    static Json array() { Json j; j.m_kind = Kind::Array; return j; }
    static Json object() { Json j; j.m_kind = Kind::Object; return j; }
    /// Already rendered JSON text, inserted as it is (long point lists).
    static Json raw(std::string text) { Json j; j.m_kind = Kind::Raw; j.m_text = std::move(text); return j; }

    /// Appends to an array.
    Json &append(Json value);
    /// Adds a key to an object (keys keep their insertion order).
    Json &insert(const char *key, Json value);

    /// Compact UTF-8 text with a line break before each top-level key.
    void write(std::string &out, int depth = 0) const;
    std::string toText() const;

    /// Appends a double as the shortest text that reads back to it, with a decimal point.
    static void writeNumber(std::string &out, double value);
    static void writeString(std::string &out, std::string_view utf8);

private:
    Kind m_kind = Kind::Null;
    bool m_bool = false;
    double m_number = 0;
    bool m_integer = false;
    std::string m_text;
    std::vector<Json> m_items;
    std::vector<std::pair<std::string, Json>> m_members;
};
