// HTML tokenizing for table rows: tags, comments, raw-text elements, character references.
#include "formats/htmltablereader.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// What scanText() found in a text besides its end.
enum TextFlag : unsigned {
    // White space other than single blanks, '&', or the lead byte of a no-break space: the text
    // may read differently from its bytes. (Blanks at either end are left to the caller.)
    NeedsCleaning = 1,
    HasBlank = 2,
    HasNonAscii = 4,
};

// The next '<' in [p, end), or end; adds to *flags what the text before it holds. Sixteen
// bytes at a time.
inline const char *scanText(const char *p, const char *end, unsigned *flags)
{
    bool blankBefore = false; // the byte before the current block was a blank
#if defined(__SSE2__)
    const __m128i lessThan = _mm_set1_epi8('<');
    const __m128i blank = _mm_set1_epi8(' ');
    const __m128i ampersand = _mm_set1_epi8('&');
    const __m128i noBreakLead = _mm_set1_epi8(char(0xC2));
    while (end - p >= 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const unsigned stop = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(x, lessThan)));
        const unsigned blanks = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(x, blank)));
        const unsigned low =
            unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_max_epu8(x, blank), blank)));
        const unsigned marks = unsigned(_mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(x, ampersand), _mm_cmpeq_epi8(x, noBreakLead))));
        const unsigned high = unsigned(_mm_movemask_epi8(x));
        // Other white space, references, no-break spaces, and a blank right after a blank.
        const unsigned odd =
            (low & ~blanks) | marks | (blanks & ((blanks << 1) | (blankBefore ? 1u : 0u)));
        const unsigned before = stop ? (stop & (0u - stop)) - 1 : 0xFFFFu; // bits before the '<'
        *flags |= ((odd & before) ? NeedsCleaning : 0u) | ((blanks & before) ? HasBlank : 0u) |
                  ((high & before) ? HasNonAscii : 0u);
        if (stop)
            return p + __builtin_ctz(stop);
        blankBefore = (blanks >> 15) & 1u;
        p += 16;
    }
#endif
    for (; p < end && *p != '<'; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if ((c < ' ' || c == '&' || c == 0xC2) || (c == ' ' && blankBefore))
            *flags |= NeedsCleaning;
        if (c == ' ')
            *flags |= HasBlank;
        if (c >= 0x80)
            *flags |= HasNonAscii;
        blankBefore = c == ' ';
    }
    return p;
}

// The first '>', '"' or '\'' in [p, end), or end.
inline const char *scanTagStop(const char *p, const char *end)
{
#if defined(__SSE2__)
    const __m128i greater = _mm_set1_epi8('>'), quote = _mm_set1_epi8('"'),
                  apostrophe = _mm_set1_epi8('\'');
    while (end - p >= 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const unsigned hit = unsigned(_mm_movemask_epi8(
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(x, greater), _mm_cmpeq_epi8(x, quote)),
                         _mm_cmpeq_epi8(x, apostrophe))));
        if (hit)
            return p + __builtin_ctz(hit);
        p += 16;
    }
#endif
    for (; p < end; ++p)
        if (*p == '>' || *p == '"' || *p == '\'')
            return p;
    return end;
}

// The first `c` in [p, end), or end: for the short spans of a tag, without a library call.
inline const char *findByte(const char *p, const char *end, char c)
{
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(c);
    while (end - p >= 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        const unsigned hit = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(x, wanted)));
        if (hit)
            return p + __builtin_ctz(hit);
        p += 16;
    }
#endif
    while (p < end && *p != c)
        ++p;
    return p;
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
    {"nbsp", 0xA0, false},   {"amp", '&', false},      {"lt", '<', false},
    {"gt", '>', false},      {"quot", '"', false},     {"apos", '\'', true},
    {"copy", 0xA9, false},   {"reg", 0xAE, false},     {"trade", 0x2122, true},
    {"laquo", 0xAB, true},   {"raquo", 0xBB, true},    {"ndash", 0x2013, true},
    {"mdash", 0x2014, true}, {"hellip", 0x2026, true}, {"euro", 0x20AC, true},
    {"yen", 0xA5, true},     {"pound", 0xA3, true},    {"cent", 0xA2, true},
    {"times", 0xD7, true},   {"divide", 0xF7, true},   {"deg", 0xB0, true},
    {"plusmn", 0xB1, true},  {"middot", 0xB7, true},   {"minus", 0x2212, true},
    {"ensp", 0x2002, true},  {"emsp", 0x2003, true},   {"thinsp", 0x2009, true},
    {"shy", 0xAD, true},
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
    while (p < end && p - nameBegin < 8 &&
           ((text[p] >= 'a' && text[p] <= 'z') || (text[p] >= 'A' && text[p] <= 'Z')))
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

// The tag at `p` (just past '<' or "</") when it is td, th or tr written plainly, as nearly
// all of a statement's tags are: the tag and the position of the end of its name.
Tag quickTag(const char *p, const char *end, const char **nameEnd)
{
    if (end - p < 3 || (p[0] | 0x20) != 't')
        return Tag::Other;
    const char second = char(p[1] | 0x20);
    const char after = p[2];
    if (after != '>' && after != ' ')
        return Tag::Other;
    *nameEnd = p + 2;
    if (second == 'd' || second == 'h')
        return Tag::Td;
    if (second == 'r')
        return Tag::Tr;
    return Tag::Other;
}

} // namespace

HtmlTableReader::HtmlTableReader(std::string_view html, size_t offset, bool endsAtRow)
    : m_text(html), m_pos(offset), m_endsAtRow(endsAtRow)
{
    m_cells.reserve(16);
    m_segments.reserve(8);
}

void HtmlTableReader::reset(std::string_view html, size_t offset, bool endsAtRow)
{
    m_text = html;
    m_pos = offset;
    m_endsAtRow = endsAtRow;
    m_rowStart = 0;
    m_rowClosed = false;
    m_cellOpen = false;
    m_endedInMarkup = false;
    m_quoteLeftOpen = false;
    m_nonAsciiText = false;
    m_countedTo = 0;
    m_countedLines = 1;
    m_cells.clear();
    m_scratch.clear();
}

int HtmlTableReader::rowLine() const
{
    if (m_rowStart < m_countedTo) {
        m_countedTo = 0;
        m_countedLines = 1;
    }
    m_countedLines += int(std::count(m_text.begin() + std::ptrdiff_t(m_countedTo),
                                     m_text.begin() + std::ptrdiff_t(m_rowStart), '\n'));
    m_countedTo = m_rowStart;
    return m_countedLines;
}

void HtmlTableReader::closeCell()
{
    if (!m_cellOpen)
        return;
    m_cellOpen = false;
    if (m_segmentCount == 1 && m_firstSegment.begin != kNone) {
        const Segment s = m_firstSegment;
        // Single blanks inside a text are fine; anything else goes through cleaning.
        if (!m_textNeedsCleaning && m_text[s.begin] != ' ' && m_text[s.end - 1] != ' ') {
            m_cells.push_back({s.begin, s.end - s.begin, false, m_textHasBlank});
            return;
        }
    }
    const size_t begin = m_scratch.size();
    if (m_segmentCount > 0)
        appendCleanText();
    m_cells.push_back({begin, m_scratch.size() - begin, true, true});
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
    for (size_t k = 0; k < m_segmentCount; ++k) {
        const Segment &s = k == 0 ? m_firstSegment : m_segments[k - 1];
        if (s.begin == kNone) {
            blank();
            continue;
        }
        for (size_t i = s.begin; i < s.end;) {
            const unsigned char c = static_cast<unsigned char>(m_text[i]);
            if (isAsciiSpace(char(c))) {
                blank();
                ++i;
            } else if (c == 0xC2 && i + 1 < s.end &&
                       static_cast<unsigned char>(m_text[i + 1]) == 0xA0) {
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

// The position after the '>' that ends the tag whose attributes start at `from`, or npos. A
// quoted attribute value may hold '>'; a quote not right after '=' or never closed is a plain
// character.
size_t HtmlTableReader::tagEnd(size_t from)
{
    const char *data = m_text.data();
    const char *end = data + m_text.size();
    const char *p = data + from;
    for (;;) {
        const char *hit = scanTagStop(p, end);
        if (hit == end)
            return kNone;
        if (*hit == '>')
            return size_t(hit - data) + 1;
        const char *before = hit;
        while (before > data + from && isAsciiSpace(before[-1]))
            --before;
        if (before > data + from && before[-1] == '=') {
            const char *close = findByte(hit + 1, end, *hit);
            if (close < end) {
                p = close + 1;
                continue;
            }
            m_quoteLeftOpen = true;
        }
        p = hit + 1;
    }
}

// The position after the end tag </name> of a raw-text element, or the end of the text.
size_t HtmlTableReader::skipRawText(size_t from, std::string_view name)
{
    std::string needle("</");
    for (const char c : name)
        needle.push_back(lower(c));
    const size_t at = findNoCase(m_text, from, needle);
    return at == kNone ? kNone : tagEnd(at + needle.size());
}

// Reads the cells that follow in the plain form <td attributes>text</td>, as nearly all of a
// statement's cells are written, and stops before anything else, which the general loop reads.
void HtmlTableReader::readPlainCells()
{
    const char *data = m_text.data();
    const char *end = data + m_text.size();
    const char *p = data + m_pos;
    unsigned seen = 0; // flags of all cells' texts
    for (;;) {
        while (p < end && *p != '<' && isAsciiSpace(*p))
            ++p;
        if (end - p < 4 || p[0] != '<' || (p[1] | 0x20) != 't')
            break;
        const char second = char(p[2] | 0x20);
        if (second != 'd' && second != 'h')
            break;
        const char *text = p + 3;
        if (*text == ' ') {
            // Attributes: a '>' ends the tag unless it is inside a value quoted right after its
            // '=' (as the terminal writes its style="..." values). tagEnd()'s rule in its quick
            // form; anything else (blanks around the '=', a quote never closed) goes to it.
            const char *stop = scanTagStop(text, end);
            while (stop < end && *stop != '>' && stop[-1] == '=') {
                const char *close = findByte(stop + 1, end, *stop);
                if (close == end)
                    break;
                stop = scanTagStop(close + 1, end);
            }
            if (stop < end && *stop == '>') {
                text = stop + 1;
            } else {
                const size_t after = tagEnd(size_t(text - data));
                if (after == kNone)
                    break;
                text = data + after;
            }
        } else if (*text == '>') {
            ++text;
        } else {
            break;
        }
        unsigned flags = 0;
        const char *close = scanText(text, end, &flags);
        if (end - close < 5 || close[1] != '/' || (close[2] | 0x20) != 't' ||
            (close[3] | 0x20) != second || close[4] != '>')
            break;
        const size_t begin = size_t(text - data);
        const size_t length = size_t(close - text);
        seen |= flags;
        if (length == 0 ||
            (!(flags & NeedsCleaning) && text[0] != ' ' && text[length - 1] != ' ')) {
            // Written in place: a cell built aside and copied in stalls the store buffer.
            CellRef &cell = m_cells.emplace_back();
            cell.begin = begin;
            cell.length = length;
            cell.mayHaveBlank = (flags & HasBlank) != 0;
        } else {
            m_segmentCount = 0;
            m_segments.clear();
            addSegment(begin, begin + length);
            const size_t first = m_scratch.size();
            appendCleanText();
            m_cells.push_back({first, m_scratch.size() - first, true, true});
        }
        p = close + 5;
    }
    m_nonAsciiText = m_nonAsciiText || (seen & HasNonAscii);
    m_pos = size_t(p - data);
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
    const char *end = data + n;
    auto finishRow = [this](bool closed) {
        closeCell();
        m_rowClosed = closed;
        return true;
    };

    while (m_pos < n) {
        unsigned flags = 0;
        const size_t lt = size_t(scanText(data + m_pos, end, &flags) - data);
        if (m_cellOpen && lt > m_pos) {
            m_textNeedsCleaning =
                m_textNeedsCleaning || (flags & NeedsCleaning) || m_segmentCount > 0;
            m_textHasBlank = m_textHasBlank || (flags & HasBlank);
            m_nonAsciiText = m_nonAsciiText || (flags & HasNonAscii);
            addSegment(m_pos, lt);
        }
        m_pos = lt;
        if (lt == n)
            break;
        const char c1 = lt + 1 < n ? data[lt + 1] : '\0';
        if (c1 == '!' || c1 == '?') {
            if (startsWithNoCase(m_text, lt, "<!--")) {
                const size_t close = m_text.find("-->", lt + 4);
                m_pos = endOfMarkup(close == kNone ? kNone : close + 3);
            } else {
                const size_t gt = m_text.find('>', lt);
                m_pos = endOfMarkup(gt == kNone ? kNone : gt + 1);
            }
            continue;
        }
        const bool endTag = c1 == '/';
        const size_t nameBegin = lt + 1 + (endTag ? 1 : 0);
        const char *quickEnd = nullptr;
        Tag tag = quickTag(data + nameBegin, end, &quickEnd);
        bool rawText = false;
        std::string_view name;
        if (tag != Tag::Other) {
            m_pos = *quickEnd == '>' ? size_t(quickEnd - data) + 1
                                     : endOfMarkup(tagEnd(size_t(quickEnd - data)));
        } else {
            if (nameBegin >= n || !isAsciiLetter(data[nameBegin])) {
                if (endTag) { // "</ ...>" and the like: a bogus comment
                    const size_t gt = m_text.find('>', lt);
                    m_pos = endOfMarkup(gt == kNone ? kNone : gt + 1);
                } else { // a lone '<' is text
                    if (m_cellOpen) {
                        m_textNeedsCleaning = true;
                        addSegment(lt, lt + 1);
                    }
                    m_pos = lt + 1;
                }
                continue;
            }
            size_t nameEnd = nameBegin;
            while (nameEnd < n && !isAsciiSpace(data[nameEnd]) && data[nameEnd] != '>' &&
                   data[nameEnd] != '/')
                ++nameEnd;
            name = m_text.substr(nameBegin, nameEnd - nameBegin);
            tag = classify(name, &rawText);
            m_pos = endOfMarkup(tagEnd(nameEnd));
        }

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
            readPlainCells();
            break;
        case Tag::Td:
            if (!inRow) {
                inRow = true;
                m_rowStart = lt;
            }
            closeCell();
            m_cellOpen = true;
            m_segmentCount = 0;
            m_segments.clear();
            m_textNeedsCleaning = false;
            m_textHasBlank = false;
            break;
        case Tag::Table:
            if (inRow) // a table nested in a cell: its rows follow this one
                return finishRow(true);
            break;
        case Tag::Br:
            if (m_cellOpen) {
                m_textNeedsCleaning = true;
                addSegment(kNone, kNone);
            }
            break;
        case Tag::RawText:
            m_pos = endOfMarkup(skipRawText(m_pos, name));
            break;
        case Tag::Other:
            break;
        }
    }
    if (inRow)
        return finishRow(m_endsAtRow && !m_endedInMarkup);
    return false;
}

bool IsRowStart(std::string_view text, size_t at)
{
    return at + 3 < text.size() && text[at] == '<' && lower(text[at + 1]) == 't' &&
           lower(text[at + 2]) == 'r' && (isAsciiSpace(text[at + 3]) || text[at + 3] == '>');
}

size_t NextRowStart(std::string_view text, size_t from)
{
    for (;;) {
        const size_t at = findNoCase(text, from, "<tr");
        if (at == kNone || at + 3 >= text.size())
            return kNone;
        if (IsRowStart(text, at))
            return at;
        from = at + 1;
    }
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
    for (;
         p < text.size() && (std::isalnum(static_cast<unsigned char>(text[p])) || text[p] == '-' ||
                             text[p] == '_' || text[p] == ':' || text[p] == '.');
         ++p)
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
        const std::string_view attributes =
            head.substr(attributesBegin, (gt == kNone ? head.size() : gt) - attributesBegin);
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
