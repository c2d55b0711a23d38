// HTML tokenizing for table rows: tags, comments, raw-text elements, character references.
#include "formats/htmltablereader.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

constexpr size_t kNone = std::string_view::npos;

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isAsciiSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c;
}

bool startsWithNoCase(std::string_view text, size_t at, std::string_view prefix)
{
    if (text.size() - std::min(at, text.size()) < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (lower(text[at + i]) != prefix[i])
            return false;
    return true;
}

size_t findNoCase(std::string_view text, size_t from, std::string_view needle)
{
    // `needle` is lower-case and starts with '<'.
    while (from < text.size()) {
        const void *hit = std::memchr(text.data() + from, needle[0], text.size() - from);
        if (!hit)
            return kNone;
        const size_t at = size_t(static_cast<const char *>(hit) - text.data());
        if (startsWithNoCase(text, at, needle))
            return at;
        from = at + 1;
    }
    return kNone;
}

// Tag names that matter here; anything else is skipped.
enum class Tag { Other, Tr, Td, Table, Br, RawText };

Tag classify(std::string_view name, bool *rawText)
{
    char buffer[10];
    *rawText = false;
    if (name.size() > sizeof buffer)
        return Tag::Other;
    for (size_t i = 0; i < name.size(); ++i)
        buffer[i] = lower(name[i]);
    const std::string_view n(buffer, name.size());
    if (n == "td" || n == "th")
        return Tag::Td;
    if (n == "tr")
        return Tag::Tr;
    if (n == "table")
        return Tag::Table;
    if (n == "br")
        return Tag::Br;
    if (n == "script" || n == "style" || n == "title" || n == "textarea" || n == "xmp") {
        *rawText = true;
        return Tag::RawText;
    }
    return Tag::Other;
}

struct NamedReference {
    const char *name;
    char32_t code;
    bool needsSemicolon;
};

// The references a statement may use; no-break and typographic spaces read as blanks.
const NamedReference kNamedReferences[] = {
    {"nbsp", 0xA0, false},   {"amp", '&', false},      {"lt", '<', false},      {"gt", '>', false},
    {"quot", '"', false},    {"apos", '\'', true},     {"copy", 0xA9, false},   {"reg", 0xAE, false},
    {"trade", 0x2122, true}, {"laquo", 0xAB, true},    {"raquo", 0xBB, true},   {"ndash", 0x2013, true},
    {"mdash", 0x2014, true}, {"hellip", 0x2026, true}, {"euro", 0x20AC, true},  {"yen", 0xA5, true},
    {"pound", 0xA3, true},   {"cent", 0xA2, true},     {"times", 0xD7, true},   {"divide", 0xF7, true},
    {"deg", 0xB0, true},     {"plusmn", 0xB1, true},   {"middot", 0xB7, true},  {"minus", 0x2212, true},
    {"ensp", 0x2002, true},  {"emsp", 0x2003, true},   {"thinsp", 0x2009, true}, {"shy", 0xAD, true},
};

bool isBlankCodePoint(char32_t c)
{
    return c == 0xA0 || (c >= 0x2000 && c <= 0x200A) || c == 0x3000;
}

// Decodes the reference at text[at] == '&'; returns its code point and sets *length, or 0.
char32_t decodeReference(std::string_view text, size_t at, size_t end, size_t *length)
{
    size_t p = at + 1;
    if (p < end && text[p] == '#') {
        ++p;
        const bool hex = p < end && (text[p] == 'x' || text[p] == 'X');
        p += hex;
        uint32_t value = 0;
        const size_t digitsBegin = p;
        for (; p < end && p - digitsBegin < 8; ++p) {
            const char c = text[p];
            int digit;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (hex && lower(c) >= 'a' && lower(c) <= 'f')
                digit = lower(c) - 'a' + 10;
            else
                break;
            value = value * (hex ? 16 : 10) + uint32_t(digit);
        }
        if (p == digitsBegin)
            return 0;
        if (p < end && text[p] == ';')
            ++p;
        *length = p - at;
        if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return 0xFFFD;
        return value;
    }
    const size_t nameBegin = p;
    while (p < end && p - nameBegin < 8 && ((text[p] >= 'a' && text[p] <= 'z') || (text[p] >= 'A' && text[p] <= 'Z')))
        ++p;
    const std::string_view name = text.substr(nameBegin, p - nameBegin);
    const bool semicolon = p < end && text[p] == ';';
    for (const NamedReference &r : kNamedReferences) {
        if (name == r.name && (semicolon || !r.needsSemicolon)) {
            *length = p - at + (semicolon ? 1 : 0);
            return r.code;
        }
    }
    return 0;
}

void appendUtf8(std::string &out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(char(cp));
    } else if (cp < 0x800) {
        out.push_back(char(0xC0 | (cp >> 6)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(char(0xE0 | (cp >> 12)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (cp >> 18)));
        out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    }
}

// True when the bytes need no cleaning: no reference, no blank at an end, no run of blanks,
// no other white space and no no-break space.
bool isCleanText(const char *p, size_t n)
{
    if (n == 0 || p[0] == ' ' || p[n - 1] == ' ')
        return false;
    for (size_t i = 0; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(p[i]);
        if (c <= ' ') {
            if (c != ' ' || p[i + 1] == ' ')
                return false;
        } else if (c == '&' || (c == 0xC2 && i + 1 < n && static_cast<unsigned char>(p[i + 1]) == 0xA0)) {
            return false;
        }
    }
    return true;
}

} // namespace

HtmlTableReader::HtmlTableReader(std::string_view html, size_t offset) : m_text(html), m_pos(offset)
{
    m_cells.reserve(16);
    m_segments.reserve(8);
}

int HtmlTableReader::rowLine() const
{
    return 1 + int(std::count(m_text.begin(), m_text.begin() + std::ptrdiff_t(m_rowStart), '\n'));
}

void HtmlTableReader::openCell()
{
    m_cellOpen = true;
    m_segments.clear();
}

void HtmlTableReader::closeCell()
{
    if (!m_cellOpen)
        return;
    m_cellOpen = false;
    if (m_segments.size() == 1 && m_segments[0].begin != kNone) {
        const Segment s = m_segments[0];
        if (isCleanText(m_text.data() + s.begin, s.end - s.begin)) {
            m_cells.push_back({s.begin, s.end - s.begin, false});
            return;
        }
    }
    const size_t begin = m_scratch.size();
    appendCleanText();
    m_cells.push_back({begin, m_scratch.size() - begin, true});
}

// Appends the cell's segments to the scratch text: references decoded, blanks collapsed.
void HtmlTableReader::appendCleanText()
{
    const size_t first = m_scratch.size();
    bool pendingBlank = false;
    auto blank = [&] { pendingBlank = m_scratch.size() > first; };
    auto put = [&](char32_t cp) {
        if (pendingBlank) {
            m_scratch.push_back(' ');
            pendingBlank = false;
        }
        appendUtf8(m_scratch, cp);
    };
    for (const Segment &s : m_segments) {
        if (s.begin == kNone) {
            blank();
            continue;
        }
        for (size_t i = s.begin; i < s.end;) {
            const unsigned char c = static_cast<unsigned char>(m_text[i]);
            if (isAsciiSpace(char(c))) {
                blank();
                ++i;
            } else if (c == 0xC2 && i + 1 < s.end && static_cast<unsigned char>(m_text[i + 1]) == 0xA0) {
                blank();
                i += 2;
            } else if (c == '&') {
                size_t length = 0;
                const char32_t cp = decodeReference(m_text, i, s.end, &length);
                if (cp == 0) {
                    put('&');
                    ++i;
                } else {
                    if (isBlankCodePoint(cp))
                        blank();
                    else
                        put(cp);
                    i += length;
                }
            } else {
                if (pendingBlank) {
                    m_scratch.push_back(' ');
                    pendingBlank = false;
                }
                m_scratch.push_back(char(c));
                ++i;
            }
        }
    }
}

// The position after the '>' that ends the tag whose attributes start at `from`. A quoted
// attribute value may hold '>'; a quote that is never closed is taken as a plain character.
size_t HtmlTableReader::tagEnd(size_t from) const
{
    const char *data = m_text.data();
    const size_t n = m_text.size();
    size_t p = from;
    while (p < n) {
        const char c = data[p];
        if (c == '>')
            return p + 1;
        if (c == '=') {
            ++p;
            while (p < n && isAsciiSpace(data[p]))
                ++p;
            if (p < n && (data[p] == '"' || data[p] == '\'')) {
                const void *close = std::memchr(data + p + 1, data[p], n - p - 1);
                if (close) {
                    p = size_t(static_cast<const char *>(close) - data) + 1;
                    continue;
                }
            }
            continue;
        }
        ++p;
    }
    return n;
}

// The position after the end tag </name> of a raw-text element, or the end of the text.
size_t HtmlTableReader::skipRawText(size_t from, std::string_view name) const
{
    std::string needle("</");
    for (const char c : name)
        needle.push_back(lower(c));
    const size_t at = findNoCase(m_text, from, needle);
    return at == kNone ? m_text.size() : tagEnd(at + needle.size());
}

bool HtmlTableReader::nextRow()
{
    m_cells.clear();
    m_scratch.clear();
    m_cellOpen = false;
    m_rowClosed = false;
    bool inRow = false;
    const char *data = m_text.data();
    const size_t n = m_text.size();
    auto finishRow = [this](bool closed) {
        closeCell();
        m_rowClosed = closed;
        return true;
    };

    while (m_pos < n) {
        const void *hit = std::memchr(data + m_pos, '<', n - m_pos);
        const size_t lt = hit ? size_t(static_cast<const char *>(hit) - data) : n;
        if (m_cellOpen && lt > m_pos)
            addSegment(m_pos, lt);
        m_pos = lt;
        if (lt == n)
            break;
        const char c1 = lt + 1 < n ? data[lt + 1] : '\0';
        if (c1 == '!') {
            if (startsWithNoCase(m_text, lt, "<!--")) {
                const size_t close = m_text.find("-->", lt + 4);
                m_pos = close == kNone ? n : close + 3;
            } else {
                const void *gt = std::memchr(data + lt, '>', n - lt);
                m_pos = gt ? size_t(static_cast<const char *>(gt) - data) + 1 : n;
            }
            continue;
        }
        if (c1 == '?') {
            const void *gt = std::memchr(data + lt, '>', n - lt);
            m_pos = gt ? size_t(static_cast<const char *>(gt) - data) + 1 : n;
            continue;
        }
        const bool endTag = c1 == '/';
        const size_t nameBegin = lt + 1 + (endTag ? 1 : 0);
        if (nameBegin >= n || !isAsciiLetter(data[nameBegin])) {
            if (endTag) { // "</ ...>" and the like: a bogus comment
                const void *gt = std::memchr(data + lt, '>', n - lt);
                m_pos = gt ? size_t(static_cast<const char *>(gt) - data) + 1 : n;
            } else { // a lone '<' is text
                if (m_cellOpen)
                    addSegment(lt, lt + 1);
                m_pos = lt + 1;
            }
            continue;
        }
        size_t nameEnd = nameBegin;
        while (nameEnd < n && !isAsciiSpace(data[nameEnd]) && data[nameEnd] != '>' && data[nameEnd] != '/')
            ++nameEnd;
        const std::string_view name = m_text.substr(nameBegin, nameEnd - nameBegin);
        const size_t after = tagEnd(nameEnd);
        bool rawText = false;
        const Tag tag = classify(name, &rawText);
        m_pos = after;

        if (endTag) {
            if (tag == Tag::Td) {
                closeCell();
            } else if ((tag == Tag::Tr || tag == Tag::Table) && inRow) {
                return finishRow(true);
            }
            continue;
        }
        switch (tag) {
        case Tag::Tr:
            if (inRow) { // a row opened inside an open row ends it; read the new one next time
                m_pos = lt;
                return finishRow(true);
            }
            inRow = true;
            m_rowStart = lt;
            break;
        case Tag::Td:
            if (!inRow) {
                inRow = true;
                m_rowStart = lt;
            }
            closeCell();
            openCell();
            break;
        case Tag::Table:
            if (inRow) // a table nested in a cell: its rows follow this one
                return finishRow(true);
            break;
        case Tag::Br:
            if (m_cellOpen)
                m_segments.push_back({kNone, kNone});
            break;
        case Tag::RawText:
            m_pos = skipRawText(after, name);
            break;
        case Tag::Other:
            break;
        }
    }
    if (inRow)
        return finishRow(false);
    return false;
}

bool LooksLikeHtml(std::string_view text)
{
    size_t p = 0;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        p = 3;
    while (p < text.size() && isAsciiSpace(text[p]))
        ++p;
    if (p >= text.size() || text[p] != '<')
        return false;
    const std::string_view head = text.substr(p, 4096);
    for (const std::string_view tag : {"<html", "<!doctype html", "<head", "<body", "<table"}) {
        const size_t at = findNoCase(head, 0, tag);
        if (at == kNone)
            continue;
        const size_t after = at + tag.size();
        if (after >= head.size() || isAsciiSpace(head[after]) || head[after] == '>')
            return true;
    }
    return false;
}

namespace {

// The value of attribute `name` (lower-case) in the tag text between the name and '>'.
std::string attributeValue(std::string_view tag, std::string_view name)
{
    size_t p = 0;
    const size_t n = tag.size();
    while (p < n) {
        while (p < n && (isAsciiSpace(tag[p]) || tag[p] == '/'))
            ++p;
        const size_t nameBegin = p;
        while (p < n && !isAsciiSpace(tag[p]) && tag[p] != '=' && tag[p] != '>')
            ++p;
        const std::string_view attribute = tag.substr(nameBegin, p - nameBegin);
        while (p < n && isAsciiSpace(tag[p]))
            ++p;
        std::string value;
        if (p < n && tag[p] == '=') {
            ++p;
            while (p < n && isAsciiSpace(tag[p]))
                ++p;
            if (p < n && (tag[p] == '"' || tag[p] == '\'')) {
                const char quote = tag[p++];
                const size_t close = tag.find(quote, p);
                const size_t end = close == kNone ? n : close;
                value = std::string(tag.substr(p, end - p));
                p = end + 1;
            } else {
                const size_t begin = p;
                while (p < n && !isAsciiSpace(tag[p]) && tag[p] != '>')
                    ++p;
                value = std::string(tag.substr(begin, p - begin));
            }
        }
        if (attribute.size() == name.size() && startsWithNoCase(attribute, 0, name))
            return value;
        if (attribute.empty())
            ++p;
    }
    return std::string();
}

std::string charsetOf(std::string_view text)
{
    const size_t at = findNoCase(text, 0, "charset");
    if (at == kNone)
        return std::string();
    size_t p = at + 7;
    while (p < text.size() && isAsciiSpace(text[p]))
        ++p;
    if (p >= text.size() || text[p] != '=')
        return std::string();
    ++p;
    while (p < text.size() && (isAsciiSpace(text[p]) || text[p] == '"' || text[p] == '\''))
        ++p;
    std::string name;
    for (; p < text.size() && (std::isalnum(static_cast<unsigned char>(text[p])) || text[p] == '-' || text[p] == '_' || text[p] == ':' || text[p] == '.'); ++p)
        name.push_back(lower(text[p]));
    return name;
}

} // namespace

std::string DeclaredCharset(std::string_view bytes)
{
    const std::string_view head = bytes.substr(0, size_t(64) << 10);
    size_t from = 0;
    for (;;) {
        const size_t at = findNoCase(head, from, "<meta");
        if (at == kNone)
            return std::string();
        const size_t attributesBegin = at + 5;
        const size_t gt = head.find('>', attributesBegin);
        const std::string_view attributes = head.substr(attributesBegin, (gt == kNone ? head.size() : gt) - attributesBegin);
        std::string charset = attributeValue(attributes, "charset");
        for (char &c : charset)
            c = lower(c);
        if (!charset.empty())
            return charset;
        std::string equiv = attributeValue(attributes, "http-equiv");
        for (char &c : equiv)
            c = lower(c);
        if (equiv == "content-type") {
            charset = charsetOf(attributeValue(attributes, "content"));
            if (!charset.empty())
                return charset;
        }
        from = attributesBegin;
    }
}
