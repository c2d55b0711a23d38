// A tolerant reader of HTML table rows: each cell as the text a browser would show.
#pragma once

#include <string>
#include <string_view>
#include <vector>

/// Walks the table rows of an HTML text (UTF-8) in document order, tolerating what browsers
/// tolerate: end tags left out, unquoted attributes, tags inside cells, comments, and nested
/// tables (a row or table opened inside an open row ends that row first). A cell's text has its
/// tags and comments removed, character references decoded (&nbsp;, &amp;, &#160;, ...) and
/// white space, no-break spaces included, collapsed to single blanks with none at either end.
class HtmlTableReader {
public:
    explicit HtmlTableReader(std::string_view html, size_t offset = 0);

    /// Reads the next row; false when the text holds no further row.
    bool nextRow();

    int cellCount() const { return int(m_cells.size()); }
    /// The text of cell `index` of the current row; valid until the next call of nextRow().
    std::string_view cell(int index) const
    {
        const CellRef &c = m_cells[size_t(index)];
        return c.inScratch ? std::string_view(m_scratch).substr(c.begin, c.length)
                           : m_text.substr(c.begin, c.length);
    }
    /// False when the text ended inside the row: it may have been cut short there.
    bool rowClosed() const { return m_rowClosed; }
    /// 1-based line of the text on which the current row starts (counted when asked).
    int rowLine() const;

private:
    struct CellRef {
        size_t begin = 0;
        size_t length = 0;
        bool inScratch = false;
    };
    // A piece of a cell's text: bytes of the source, or one blank (a <br>) when begin == npos.
    struct Segment {
        size_t begin;
        size_t end;
    };

    void openCell();
    void closeCell();
    void addSegment(size_t begin, size_t end) { m_segments.push_back({begin, end}); }
    size_t tagEnd(size_t from) const;
    size_t skipRawText(size_t from, std::string_view name) const;
    void appendCleanText();

    std::string_view m_text;
    size_t m_pos;
    size_t m_rowStart = 0;
    bool m_rowClosed = false;
    bool m_cellOpen = false;
    std::vector<CellRef> m_cells;
    std::vector<Segment> m_segments;
    std::string m_scratch;
};

/// True when `text` (UTF-8, or bytes of an ASCII-compatible code page) begins like an HTML
/// document: after white space, a tag, and one of <html>, <!DOCTYPE html>, <head>, <body> or
/// <table> within its first 4 KB.
bool LooksLikeHtml(std::string_view text);

/// The character set that a <meta charset> or <meta http-equiv="Content-Type" content="...;
/// charset=..."> tag in the first 64 KB of `bytes` declares, lower-cased; empty when none does.
std::string DeclaredCharset(std::string_view bytes);
