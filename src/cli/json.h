// A small JSON value that keeps the order of object keys, for the report's output.
#pragma once

#include <QString>

#include <utility>
#include <vector>

class Json {
public:
    enum class Kind { Null, Bool, Number, String, Array, Object };

    Json() = default;
    Json(bool value) : m_kind(Kind::Bool), m_bool(value) {}
    Json(int value) : m_kind(Kind::Number), m_number(value), m_integer(true) {}
    Json(long long value) : m_kind(Kind::Number), m_number(double(value)), m_integer(true) {}
    Json(double value) : m_kind(Kind::Number), m_number(value) {}
    Json(const QString &value) : m_kind(Kind::String), m_string(value) {}
    Json(const char *value) : m_kind(Kind::String), m_string(QString::fromUtf8(value)) {}

    static Json array() { Json j; j.m_kind = Kind::Array; return j; }
    static Json object() { Json j; j.m_kind = Kind::Object; return j; }

    /// Appends to an array.
    Json &append(Json value);
    /// Adds a key to an object (keys keep their insertion order).
    Json &insert(const QString &key, Json value);
    Json &insert(const char *key, Json value) { return insert(QString::fromUtf8(key), std::move(value)); }

    /// Compact text with a line break after each top-level key (readable and diffable).
    QString toText(int depth = 0) const;

private:
    Kind m_kind = Kind::Null;
    bool m_bool = false;
    double m_number = 0;
    bool m_integer = false;
    QString m_string;
    std::vector<Json> m_items;
    std::vector<std::pair<QString, Json>> m_members;
};
