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
    /// Reads from byte `offset` of `html`. `endsAtRow`: the text is the first part of a longer
    /// one, cut where a further row starts, so a row open at its end is complete.
    explicit HtmlTableReader(std::string_view html, size_t offset = 0, bool endsAtRow = false);

    /// Reads another text, as the constructor (a text read piece by piece: each piece cut where
    /// a row starts). Clears what sawNonAsciiText(), endedInMarkup() and quoteLeftOpen() tell.
    void reset(std::string_view html, size_t offset, bool endsAtRow);

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
    /// False when cell `index` surely holds no blank (a quick test before removing blanks).
    bool cellMayHaveBlank(int index) const { return m_cells[size_t(index)].mayHaveBlank; }
    /// True when some cell's text held a byte outside ASCII: only then does the charset of
    /// the text matter for what the cells read.
    bool sawNonAsciiText() const { return m_nonAsciiText; }
    /// False when the text ended inside the row: it may have been cut short there.
    bool rowClosed() const { return m_rowClosed; }
    /// 1-based line of the text on which the current row starts (counted when asked).
    int rowLine() const;
    /// True when the text ended inside a tag, a comment or a script or style element.
    bool endedInMarkup() const { return m_endedInMarkup; }
    /// True when a tag held a quoted attribute value that the text never closes; its quote was
    /// read as a plain character. In the first part of a longer text the value may close later,
    /// so the part may read differently from the whole.
    bool quoteLeftOpen() const { return m_quoteLeftOpen; }

private:
    struct CellRef {
        size_t begin = 0;
        size_t length = 0;
        bool inScratch = false;
        bool mayHaveBlank = true;
    };
    // A piece of a cell's text: bytes of the source, or one blank (a <br>) when begin == npos.
    struct Segment {
        size_t begin;
        size_t end;
    };

    void closeCell();
    void readPlainCells();
    void addSegment(size_t begin, size_t end)
    {
        if (m_segmentCount++ == 0)
            m_firstSegment = {begin, end};
        else
            m_segments.push_back({begin, end});
    }
    size_t tagEnd(size_t from);
    size_t skipRawText(size_t from, std::string_view name);
    size_t endOfMarkup(size_t position)
    {
        if (position != std::string_view::npos)
            return position;
        m_endedInMarkup = true;
        return m_text.size();
    }
    void appendCleanText();

    std::string_view m_text;
    size_t m_pos;
    size_t m_rowStart = 0;
    bool m_rowClosed = false;
    bool m_cellOpen = false;
    bool m_endsAtRow;
    bool m_endedInMarkup = false;
    bool m_quoteLeftOpen = false;
    mutable size_t m_countedTo = 0; // rowLine() counts on from here
    mutable int m_countedLines = 1;
    std::vector<CellRef> m_cells;
    Segment m_firstSegment{0, 0};
    size_t m_segmentCount = 0;
    bool m_textNeedsCleaning = false; // the cell's text may differ from its bytes
    bool m_textHasBlank = false;
    bool m_nonAsciiText = false;
    std::vector<Segment> m_segments; // the cell's segments after the first
    std::string m_scratch;
};

/// True when a row start tag (<tr> or <tr with attributes) begins at `text[at]`.
bool IsRowStart(std::string_view text, size_t at);

/// The position of the first row start tag (<tr>) at or after `from`, or npos. Only a place to
/// cut a text for reading it in parts: the tag may lie inside a comment or a script.
size_t NextRowStart(std::string_view text, size_t from);

/// True when `text` (UTF-8, or bytes of an ASCII-compatible code page) begins like an HTML
/// document: after white space, a tag, and one of <html>, <!DOCTYPE html>, <head>, <body> or
/// <table> within its first 4 KB.
bool LooksLikeHtml(std::string_view text);

/// The character set that a <meta charset> or <meta http-equiv="Content-Type" content="...;
/// charset=..."> tag in the first 64 KB of `bytes` declares, lower-cased; empty when none does.
std::string DeclaredCharset(std::string_view bytes);
