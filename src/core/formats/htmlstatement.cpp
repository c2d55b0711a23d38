// Sections, row kinds and the opening balance of the terminal's HTML account statement.
#include "formats/htmlstatement.h"

#include "formats/htmltablereader.h"
#include "formats/semicolonformat.h"
#include "formats/statementimport.h"
#include "statement/formatmoney.h"
#include "statement/parsenumber.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace {

enum class Section { None, Closed, Open, Working, Summary, Details, Other };

struct SectionLabel {
    const char *label;
    Section section;
};

// Title rows of the statement's blocks: the terminal's English and a broker's Japanese template.
const SectionLabel kSectionLabels[] = {
    {"closed transactions", Section::Closed},
    {"open trades", Section::Open},
    {"working orders", Section::Working},
    {"summary", Section::Summary},
    {"details", Section::Details},
    {"決済情報", Section::Closed},
    {"オープンポジション情報", Section::Open},
    {"注文情報", Section::Working},
    {"レポート概要", Section::Summary},
    {"レポート詳細", Section::Details},
};

// The closing balance in the summary block.
const char *const kBalanceLabels[] = {"balance", "資産合計（残高）"};

constexpr int kTradeCells = 14;
// Not more notes than this; the rest are counted.
constexpr int kMaxNotes = 20;
// Below this one thread reads the statement quickly enough.
constexpr size_t kParallelBytes = size_t(4) << 20;

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c;
}

bool equalsNoCase(std::string_view text, std::string_view lowerCase)
{
    if (text.size() != lowerCase.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (lower(text[i]) != lowerCase[i])
            return false;
    return true;
}

// The label of a "Label:" cell without its colon (ASCII or full-width); empty when it has none.
std::string_view labelOf(std::string_view cell)
{
    if (!cell.empty() && cell.back() == ':')
        cell.remove_suffix(1);
    else if (cell.size() >= 3 && cell.substr(cell.size() - 3) == "\xEF\xBC\x9A")
        cell.remove_suffix(3);
    else
        return std::string_view();
    while (!cell.empty() && cell.back() == ' ')
        cell.remove_suffix(1);
    return cell;
}

bool isTicket(std::string_view cell)
{
    if (cell.empty())
        return false;
    for (const char c : cell)
        if (c < '0' || c > '9')
            return false;
    return true;
}

bool hasBlank(std::string_view cell)
{
    for (const char c : cell) // short texts: a loop beats a library search
        if (c == ' ')
            return true;
    return false;
}

// A number cell without its thousands blanks.
std::string_view withoutBlanks(std::string_view cell, std::string &buffer)
{
    if (!hasBlank(cell))
        return cell;
    buffer.clear();
    for (const char c : cell)
        if (c != ' ')
            buffer.push_back(c);
    return buffer;
}

// True when `text` is `literal` (a constant length lets the compiler compare in place).
template <size_t N> bool is(std::string_view text, const char (&literal)[N])
{
    return text.size() == N - 1 && std::memcmp(text.data(), literal, N - 1) == 0;
}

std::optional<double> numberOf(std::string_view cell)
{
    if (is(cell, "0.00"))
        return 0.0; // most commissions, taxes and swaps
    char buffer[64];
    if (hasBlank(cell) && cell.size() <= sizeof buffer) {
        size_t n = 0;
        for (const char c : cell)
            if (c != ' ')
                buffer[n++] = c;
        cell = std::string_view(buffer, n);
    }
    if (cell.empty())
        return std::nullopt;
    return ParseNumber(cell, QLatin1Char('.'));
}

// A money text that already reads as the table writes it: optional '-', digits, '.', 2 digits.
bool isTwoDecimalText(std::string_view text)
{
    const size_t begin = !text.empty() && text[0] == '-' ? 1 : 0;
    if (text.size() < begin + 4 || text[text.size() - 3] != '.')
        return false;
    for (size_t i = begin; i < text.size(); ++i)
        if ((text[i] < '0' || text[i] > '9') && i != text.size() - 3)
            return false;
    return text != "-0.00";
}

double roundedToCents(double value)
{
    return std::round(value * 100.0) / 100.0;
}

QString qstring(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

enum class RowKind { Trade, Pending, Money, Unknown };

RowKind kindOf(std::string_view type, bool *buySide)
{
    // The terminal's own spelling first: nearly every row is one of these.
    if (is(type, "buy") || is(type, "sell")) {
        *buySide = type[0] == 'b';
        return RowKind::Trade;
    }
    char buffer[16];
    if (type.size() > sizeof buffer)
        return RowKind::Unknown;
    for (size_t i = 0; i < type.size(); ++i)
        buffer[i] = lower(type[i]);
    const std::string_view t(buffer, type.size());
    *buySide = t.substr(0, 3) == "buy";
    if (t == "buy" || t == "sell")
        return RowKind::Trade;
    if (t == "buy limit" || t == "buy stop" || t == "sell limit" || t == "sell stop")
        return RowKind::Pending;
    if (t == "balance" || t == "credit")
        return RowKind::Money;
    return RowKind::Unknown;
}

// Reads the rows of one stretch of the statement. A long statement is read as two stretches
// on two threads, the second one starting, as it nearly always does, inside the closed
// transactions; whether it really did is known once the first stretch is read.
class StatementReader {
public:
    /// Reads from `offset` to the end of `text`; `beginsInClosed`: the stretch starts with
    /// rows of the closed-transactions table; `endsAtRow`: the end of `text` is the start of a
    /// further row (not a cut); `markupBytes`: the bytes whose rows the table will hold in the
    /// end, this stretch's and those appended to it.
    StatementReader(std::string_view text, size_t offset, bool beginsInClosed, bool endsAtRow,
                    size_t markupBytes)
        : m_rows(text, offset, endsAtRow)
    {
        ReserveForMarkup(m_ownBuilder, markupBytes);
        begin(beginsInClosed);
    }
    /// A reader of a stretch that begins inside the closed transactions and adds its rows to
    /// `rows` after those there, which readers of other stretches added (endRows() marks where
    /// its own end).
    explicit StatementReader(StatementTableBuilder *rows) : m_rows(std::string_view()), m_out(rows)
    {
        m_firstRow = rows->rowCount();
        begin(true);
    }
    StatementReader(const StatementReader &) = delete;
    StatementReader &operator=(const StatementReader &) = delete;

    /// Room in `builder` for the rows of `markupBytes` of the terminal's markup: about a row
    /// per 500 bytes, and a fifth of its bytes kept. Room for all of them from the start:
    /// growing the buffers later costs more than the address space they take (pages are only
    /// used when written).
    static void ReserveForMarkup(StatementTableBuilder &builder, size_t markupBytes)
    {
        builder.reserve(markupBytes / 400 + 16, markupBytes / 4 + 1024);
    }
    /// Marks the rows added so far as this reader's own (a reader on a shared builder, when
    /// its stretch is read).
    void endRows() { m_endRow = m_out->rowCount(); }

    void read();
    /// Reads the next piece of a stretch read piece by piece (each piece cut where a row
    /// starts; `endsAtRow` as for the stretch when it is the last one).
    void readPiece(std::string_view piece, bool endsAtRow)
    {
        m_rows.reset(piece, 0, endsAtRow);
        read();
    }
    /// From now on a row that would need a note stops the reading instead (gaveUp()): a stretch
    /// read piece by piece can't tell the row's line, so it is read again whole.
    void stopAtNotes() { m_stopAtNotes = true; }
    bool gaveUp() const { return m_gaveUp; }
    const HtmlTableReader &rows() const { return m_rows; }
    /// True when a cell of the stretch held a byte outside ASCII.
    bool sawNonAsciiText() const { return m_rows.sawNonAsciiText(); }
    /// True when the stretch ended in the middle of the closed-transactions table, outside
    /// any markup: where a second stretch that begins in that table takes over.
    bool endsInClosedTable() const
    {
        return !m_rows.endedInMarkup() && !m_rows.quoteLeftOpen() && inClosedTable();
    }
    /// True when the rows read last were those of the closed-transactions table (the state a
    /// reader of a stretch that begins inside that table starts in).
    bool inClosedTable() const
    {
        return m_section == Section::Closed && !m_untitled && m_tablesByShape == 1;
    }
    /// Appends what the stretch after this one read, and goes on from where it ended.
    void append(StatementReader &&next);
    /// The statement: header row, the rows read, the account with its starting balance.
    HtmlStatement finish();

private:
    void takeTitle(std::string_view label);
    void takeClosedRow();
    std::string_view number(int index, std::string &buffer) const;
    void orderCells(std::string_view type, std::string_view *cells);
    void takeTrade(bool buy);
    void takePending(bool buy);
    void takeMoney(bool credit);
    void takeSummaryRow();
    void note(const QString &text);

    HtmlTableReader m_rows;
    void begin(bool beginsInClosed)
    {
        if (beginsInClosed) {
            m_section = Section::Closed;
            m_sawClosed = true;
            m_tablesByShape = 1;
        } else {
            m_out->addRow(StatementHeaderCells());
        }
    }

    StatementTableBuilder m_ownBuilder;
    StatementTableBuilder *m_out = &m_ownBuilder; // where the rows go
    size_t m_firstRow = 0;                        // of m_out, this reader's first row
    size_t m_endRow = 0;                          // and the end of its rows, once endRows()
    std::vector<BalanceOperation> m_operations;
    QStringList m_notes;
    int m_notesLeftOut = 0;
    bool m_stopAtNotes = false;
    bool m_gaveUp = false;
    Section m_section = Section::None;
    bool m_sawClosed = false;
    bool m_untitled = false; // a title row of an unknown label is waiting for the row after it
    int m_tablesByShape = 0; // order tables met so far: closed, open, working
    std::optional<double> m_closingBalance;
    double m_resultSum = 0;
    std::string m_firstClose; // earliest close time of a trade
    bool m_haveTrade = false;
    std::string m_cells[kTradeCells];
};

void StatementReader::append(StatementReader &&next)
{
    if (next.m_out == &next.m_ownBuilder)
        m_out->append(std::move(next.m_ownBuilder));
    else
        m_out->appendRows(*next.m_out, next.m_firstRow, next.m_endRow);
    m_operations.insert(m_operations.end(), std::make_move_iterator(next.m_operations.begin()),
                        std::make_move_iterator(next.m_operations.end()));
    for (const QString &text : std::as_const(next.m_notes)) {
        if (m_notes.size() < kMaxNotes)
            m_notes.append(text);
        else
            ++m_notesLeftOut;
    }
    m_notesLeftOut += next.m_notesLeftOut;
    if (!m_closingBalance)
        m_closingBalance = next.m_closingBalance;
    m_resultSum += next.m_resultSum;
    if (next.m_haveTrade && (!m_haveTrade || next.m_firstClose < m_firstClose))
        m_firstClose = next.m_firstClose;
    m_haveTrade = m_haveTrade || next.m_haveTrade;
    m_section = next.m_section;
    m_untitled = next.m_untitled;
    m_tablesByShape = next.m_tablesByShape;
    m_sawClosed = m_sawClosed || next.m_sawClosed;
}

void StatementReader::note(const QString &text)
{
    if (m_stopAtNotes) {
        m_gaveUp = true;
        return;
    }
    if (m_notes.size() < kMaxNotes)
        m_notes.append(QStringLiteral("Строка %1 файла: %2").arg(m_rows.rowLine()).arg(text));
    else
        ++m_notesLeftOut;
}

void StatementReader::takeTitle(std::string_view label)
{
    for (const SectionLabel &known : kSectionLabels) {
        if (equalsNoCase(label, known.label)) {
            m_section = known.section;
            m_untitled = false;
            // Order tables of a later block in another language follow this one.
            if (m_section == Section::Closed)
                m_tablesByShape = std::max(m_tablesByShape, 1);
            else if (m_section == Section::Open)
                m_tablesByShape = std::max(m_tablesByShape, 2);
            else if (m_section == Section::Working)
                m_tablesByShape = 3;
            m_sawClosed = m_sawClosed || m_section == Section::Closed;
            return;
        }
    }
    m_section = Section::Other;
    m_untitled = true;
}

void StatementReader::read()
{
    while (!m_gaveUp && m_rows.nextRow()) {
        const int count = m_rows.cellCount();
        if (count == 1) {
            const std::string_view label = labelOf(m_rows.cell(0));
            if (!label.empty()) {
                takeTitle(label);
                continue;
            }
        }
        if (m_untitled) {
            // A block under a title of another language: the order tables have a header row of
            // column names, and come in the terminal's order.
            m_untitled = false;
            if (count >= 10 && !isTicket(m_rows.cell(0)) && m_tablesByShape < 3) {
                const Section order[3] = {Section::Closed, Section::Open, Section::Working};
                m_section = order[m_tablesByShape++];
                m_sawClosed = m_sawClosed || m_section == Section::Closed;
            }
            continue;
        }
        if (m_section == Section::Closed)
            takeClosedRow();
        else if (m_section == Section::Summary)
            takeSummaryRow();
    }
}

HtmlStatement StatementReader::finish()
{
    HtmlStatement result;
    if (!m_sawClosed)
        return result;
    result.notes = std::move(m_notes);
    if (m_notesLeftOut > 0)
        result.notes.append(QStringLiteral("… и ещё строк пропущено: %1").arg(m_notesLeftOut));

    AccountOperations &account = result.account;
    account.operations = std::move(m_operations);
    double balanceRows = 0;
    for (const BalanceOperation &op : account.operations)
        if (op.kind == BalanceOperation::Balance)
            balanceRows += op.amount;
    account.broughtForward =
        m_closingBalance ? roundedToCents(*m_closingBalance - m_resultSum - balanceRows) : 0.0;
    double early = 0;
    const QString firstClose =
        QString::fromLatin1(m_firstClose.data(), qsizetype(m_firstClose.size()));
    for (const BalanceOperation &op : account.operations)
        if (!m_haveTrade || op.time < firstClose)
            early += op.amount;
    account.startingBalance = roundedToCents(account.broughtForward + early);

    result.table = m_out->finish();
    return result;
}

void StatementReader::takeClosedRow()
{
    if (m_rows.cellCount() < 3 || !isTicket(m_rows.cell(0)))
        return; // header, totals, the comment rows some exports add: not transactions
    if (!m_rows.rowClosed()) {
        note(QStringLiteral("файл кончается внутри строки тикета %1 — строка не взята")
                 .arg(qstring(m_rows.cell(0))));
        return;
    }
    bool buy = false;
    switch (kindOf(m_rows.cell(2), &buy)) {
    case RowKind::Trade:
        takeTrade(buy);
        break;
    case RowKind::Pending:
        takePending(buy);
        break;
    case RowKind::Money:
        takeMoney(equalsNoCase(m_rows.cell(2), "credit"));
        break;
    case RowKind::Unknown:
        note(QStringLiteral("тикет %1: неизвестный тип «%2» — строка не взята")
                 .arg(qstring(m_rows.cell(0)), qstring(m_rows.cell(2))));
        break;
    }
}

// Cell `index` of the row without thousands blanks.
std::string_view StatementReader::number(int index, std::string &buffer) const
{
    const std::string_view cell = m_rows.cell(index);
    return m_rows.cellMayHaveBlank(index) ? withoutBlanks(cell, buffer) : cell;
}

// Cells 0 to 11 of an order row, the same for trades and pending orders.
void StatementReader::orderCells(std::string_view type, std::string_view *cells)
{
    const HtmlTableReader &r = m_rows;
    auto splitTime = [cells](std::string_view text, int dateColumn) {
        size_t blank = 0;
        while (blank < text.size() && text[blank] != ' ')
            ++blank;
        cells[dateColumn] = text.substr(0, blank);
        cells[dateColumn + 1] = blank < text.size() ? text.substr(blank + 1) : std::string_view();
    };
    cells[int(Column::Ticket)] = r.cell(0);
    splitTime(r.cell(1), int(Column::OpenDate));
    cells[int(Column::Type)] = type;
    cells[int(Column::Size)] = number(3, m_cells[int(Column::Size)]);
    const std::string_view item = r.cell(4);
    std::string &symbol = m_cells[int(Column::Symbol)];
    symbol.resize(item.size());
    for (size_t i = 0; i < item.size(); ++i)
        symbol[i] = item[i] >= 'a' && item[i] <= 'z' ? char(item[i] - ('a' - 'A')) : item[i];
    cells[int(Column::Symbol)] = symbol;
    cells[int(Column::OpenPrice)] = number(5, m_cells[int(Column::OpenPrice)]);
    cells[int(Column::StopLoss)] = number(6, m_cells[int(Column::StopLoss)]);
    cells[int(Column::TakeProfit)] = number(7, m_cells[int(Column::TakeProfit)]);
    splitTime(r.cell(8), int(Column::CloseDate));
    cells[int(Column::ClosePrice)] = number(9, m_cells[int(Column::ClosePrice)]);
}

void StatementReader::takeTrade(bool buy)
{
    const HtmlTableReader &r = m_rows;
    if (r.cellCount() != kTradeCells) {
        note(QStringLiteral("тикет %1: %2 ячеек вместо %3 — строка не взята")
                 .arg(qstring(r.cell(0)))
                 .arg(r.cellCount())
                 .arg(kTradeCells));
        return;
    }
    double result = 0;
    bool onlyProfit = true; // commission, taxes and swap all 0
    for (int c = 10; c < 14; ++c) {
        const auto value = numberOf(r.cell(c));
        if (!value) {
            note(QStringLiteral("тикет %1: «%2» — не число — строка не взята")
                     .arg(qstring(r.cell(0)), qstring(r.cell(c))));
            return;
        }
        result += *value;
        onlyProfit = onlyProfit && (c == 13 || *value == 0);
    }
    std::string_view cells[kTradeCells];
    orderCells(buy ? "BUY" : "SELL", cells);
    cells[int(Column::Swap)] = number(12, m_cells[int(Column::Swap)]);
    std::string &profit = m_cells[int(Column::Profit)];
    const std::string_view printed = number(13, profit);
    if (onlyProfit && isTwoDecimalText(printed)) {
        cells[int(Column::Profit)] =
            printed; // the result is the printed profit, already in table form
    } else {
        profit.resize(kMoneyTextSize);
        profit.resize(FormatMoneyText(result, profit.data()));
        cells[int(Column::Profit)] = profit;
    }
    m_out->addRow(cells, kTradeCells);

    m_resultSum += result;
    const std::string_view close = r.cell(8);
    if (!m_haveTrade || close < std::string_view(m_firstClose)) {
        m_firstClose.assign(close);
        m_haveTrade = true;
    }
}

void StatementReader::takePending(bool buy)
{
    const HtmlTableReader &r = m_rows;
    if (r.cellCount() < 10) {
        note(QStringLiteral("тикет %1: %2 ячеек, нужно не меньше 10 — строка не взята")
                 .arg(qstring(r.cell(0)))
                 .arg(r.cellCount()));
        return;
    }
    std::string_view cells[kTradeCells];
    orderCells(buy ? "BUYSTOP " : "SELLSTOP", cells);
    cells[int(Column::Swap)] = "0.00";
    cells[int(Column::Profit)] = "0.00";
    m_out->addRow(cells, kTradeCells);
}

void StatementReader::takeMoney(bool credit)
{
    const HtmlTableReader &r = m_rows;
    const auto amount = numberOf(r.cell(r.cellCount() - 1));
    if (!amount) {
        note(QStringLiteral("тикет %1: сумма «%2» — не число — строка не взята")
                 .arg(qstring(r.cell(0)), qstring(r.cell(r.cellCount() - 1))));
        return;
    }
    BalanceOperation op;
    op.kind = credit ? BalanceOperation::Credit : BalanceOperation::Balance;
    op.ticket = qstring(r.cell(0));
    op.time = qstring(r.cell(1));
    op.amount = *amount;
    if (r.cellCount() >= 5)
        op.comment = qstring(r.cell(3));
    m_operations.push_back(std::move(op));
}

void StatementReader::takeSummaryRow()
{
    if (m_closingBalance)
        return;
    for (int i = 0; i + 1 < m_rows.cellCount(); ++i) {
        const std::string_view label = labelOf(m_rows.cell(i));
        if (label.empty())
            continue;
        for (const char *known : kBalanceLabels) {
            if (equalsNoCase(label, known)) {
                m_closingBalance = numberOf(m_rows.cell(i + 1));
                return;
            }
        }
    }
}

// Reads the statement, on two threads when it is long. With `checkUtf8` a part whose cells
// hold bytes outside ASCII must be valid UTF-8, else nothing is returned; a part whose cells
// are all ASCII reads the same in any charset and is not checked.
std::optional<HtmlStatement> readStatement(std::string_view text, size_t offset, bool checkUtf8)
{
    auto valid = [&](const StatementReader &reader, size_t begin, size_t end) {
        return !checkUtf8 || !reader.sawNonAsciiText() ||
               IsValidUtf8(text.substr(begin, end - begin));
    };
    // Where a long statement is cut in two: at a row start past its middle.
    size_t split = std::string_view::npos;
    if (text.size() - offset >= kParallelBytes)
        split = NextRowStart(text, offset + (text.size() - offset) / 2);
    if (split != std::string_view::npos) {
        StatementReader first(text.substr(0, split), offset, false, true, text.size() - offset);
        StatementReader second(text, split, true, false, text.size() - split);
        bool secondValid = true;
        std::thread secondThread([&] {
            second.read();
            secondValid = valid(second, split, text.size());
        });
        first.read();
        const bool firstValid = valid(first, offset, split);
        secondThread.join();
        if (!firstValid || !secondValid)
            return std::nullopt;
        if (first.endsInClosedTable()) {
            first.append(std::move(second));
            return first.finish();
        }
        // The cut fell outside the closed transactions (a short table with long blocks after
        // it): read it again in one go.
    }
    StatementReader whole(text, offset, false, false, text.size() - offset);
    whole.read();
    if (!valid(whole, offset, text.size()))
        return std::nullopt;
    return whole.finish();
}

// The start of the last row start tag in piece[from..) (from >= 1), or npos: where a piece is
// cut.
size_t lastRowStart(std::string_view piece, size_t from)
{
    // Backwards: the last row start is a row's length or so from the end.
    for (size_t at = piece.size(); at-- > from;)
        if (piece[at] == '<' && IsRowStart(piece, at))
            return at;
    return std::string_view::npos;
}

// Reads up to `size` bytes at `at` into `into`, in as many reads as it takes; the count read,
// short at the end of the source or on an error.
size_t readUpTo(const ByteSource &source, uint64_t at, char *into, size_t size)
{
    size_t got = 0;
    while (got < size) {
        const int64_t n = source(at + got, into + got, size - got);
        if (n <= 0)
            break;
        got += size_t(n);
    }
    return got;
}

// What the threads reading a text in stretches share.
struct StretchWork {
    const ByteSource &source;
    size_t pieceBytes;
    std::atomic<bool> stop{false};
    std::atomic<uint64_t> bytesRead{0};
};

// Reads bytes [begin, end) of the source piece by piece into `reader`, each piece cut before
// the last row start in it; `endsAtRow`: `end` is a row start, not the end of the text. False
// when the reading is given up: a read failed or came short, a cut fell inside markup, a cell
// held a byte outside ASCII (whether the file is UTF-8 is then a question for all of it), a row
// needed a note, `stop` was set, or `progress` said to stop.
bool readStretchInPieces(StretchWork &work, uint64_t begin, uint64_t end, bool endsAtRow,
                         StatementReader &reader, const std::function<bool()> &progress)
{
    reader.stopAtNotes();
    LargeArray<char> window;
    uint64_t position = begin; // where window[0] is in the source
    size_t filled = 0;
    size_t searched = 1; // window[1..searched) holds no row start
    for (;;) {
        if (work.stop.load(std::memory_order_relaxed))
            return false;
        const size_t want = size_t(std::min<uint64_t>(work.pieceBytes, end - position - filled));
        window.resizeUninitialised(filled + want);
        if (readUpTo(work.source, position + filled, window.data() + filled, want) != want)
            return false;
        filled += want;
        const bool last = position + filled == end;
        size_t cut = filled;
        if (!last) {
            // A tag cut by the end of what was searched is searched again, whole.
            cut = lastRowStart(std::string_view(window.data(), filled),
                               std::max<size_t>(searched, 4) - 3);
            if (cut == std::string_view::npos) {
                searched = filled;
                continue; // a row longer than the window: read on into it
            }
        }
        const bool atRow = !last || endsAtRow;
        reader.readPiece(std::string_view(window.data(), cut), atRow);
        const HtmlTableReader &rows = reader.rows();
        if (reader.gaveUp() || rows.sawNonAsciiText() ||
            (atRow && (rows.endedInMarkup() || rows.quoteLeftOpen())))
            return false;
        work.bytesRead += cut;
        if (progress && !progress())
            return false;
        if (last)
            return true;
        std::memmove(window.data(), window.data() + cut, filled - cut);
        position += cut;
        filled -= cut;
        searched = 1;
    }
}

// Where a long text is cut into stretches for two threads: 0, the first row start past every
// `stretchBytes` or so (as far as a look at the bytes there finds one), and the end.
std::vector<uint64_t> stretchCuts(const ByteSource &source, uint64_t size, size_t stretchBytes)
{
    std::vector<uint64_t> cuts{0};
    if (size >= 2 * uint64_t(stretchBytes)) {
        const uint64_t count = std::min<uint64_t>(size / stretchBytes, 64);
        std::string probe;
        for (uint64_t k = 1; k < count; ++k) {
            const uint64_t at = size * k / count;
            probe.resize(size_t(std::min<uint64_t>(8 << 10, size - at)));
            const size_t got = readUpTo(source, at, probe.data(), probe.size());
            const size_t row = NextRowStart(std::string_view(probe.data(), got), 0);
            if (row != std::string_view::npos && at + row > cuts.back())
                cuts.push_back(at + row);
        }
    }
    cuts.push_back(size);
    return cuts;
}

} // namespace

ByteSource MemoryByteSource(std::string_view bytes)
{
    return [bytes](uint64_t at, char *into, size_t size) -> int64_t {
        if (at >= bytes.size())
            return 0;
        const size_t n = std::min(size, size_t(bytes.size() - at));
        std::memcpy(into, bytes.data() + at, n);
        return int64_t(n);
    };
}

std::optional<HtmlStatement> ReadHtmlStatementInPieces(const ByteSource &source, uint64_t size,
                                                       const PieceReading &how, bool *cancelled)
{
    *cancelled = false;
    StretchWork work{source, std::max<size_t>(how.pieceBytes, 1)};
    // (A stretch read twice counts twice: the count may pass the size before the end.)
    const std::function<bool()> progress = [&] {
        if (!how.progress || how.progress(std::min(work.bytesRead.load(), size)))
            return true;
        *cancelled = true;
        return false;
    };
    const std::vector<uint64_t> cuts =
        stretchCuts(source, size, std::max<size_t>(how.stretchBytes, 1));
    const size_t count = cuts.size() - 1;
    StatementReader first(std::string_view(), 0, false, false, size);
    if (count == 1) {
        if (!readStretchInPieces(work, 0, size, false, first, progress))
            return std::nullopt;
        return first.finish();
    }
    // This thread reads stretches from the front into `first`, a second thread from the back,
    // each into a reader of its own that starts inside the closed transactions; they meet
    // where the work runs out, so neither waits long for the other.
    std::mutex claims;
    size_t front = 0, back = count; // this thread has [0, front), the second [back, count)
    std::vector<std::unique_ptr<StatementReader>> fromBack(count);
    StatementTableBuilder backRows; // the rows of all of them, one stretch after the other
    StatementReader::ReserveForMarkup(backRows, size / 2);
    std::thread second([&] {
        for (;;) {
            size_t j;
            {
                const std::lock_guard<std::mutex> lock(claims);
                if (back <= std::max<size_t>(front, 1))
                    return;
                j = --back;
            }
            auto reader = std::make_unique<StatementReader>(&backRows);
            // A stretch given up here is read again below, where what precedes it is known.
            if (!readStretchInPieces(work, cuts[j], cuts[j + 1], j + 1 < count, *reader, nullptr))
                return;
            reader->endRows();
            fromBack[j] = std::move(reader);
        }
    });
    bool read = true;
    for (;;) {
        size_t i;
        {
            const std::lock_guard<std::mutex> lock(claims);
            if (front >= back)
                break;
            i = front++;
        }
        if (!readStretchInPieces(work, cuts[i], cuts[i + 1], i + 1 < count, first, progress)) {
            read = false;
            work.stop = true;
            break;
        }
    }
    second.join();
    if (!read)
        return std::nullopt;
    // A stretch read from the back was read as rows of the closed transactions. Where the one
    // before it ended elsewhere (a cut among the open trades or in the summary), or where it was
    // given up, it is read again on from the one before.
    for (size_t j = front; j < count; ++j) {
        if (fromBack[j] && first.inClosedTable()) {
            first.append(std::move(*fromBack[j]));
        } else if (!readStretchInPieces(work, cuts[j], cuts[j + 1], j + 1 < count, first,
                                        progress)) {
            return std::nullopt;
        }
    }
    return first.finish();
}

HtmlStatement ReadHtmlStatement(std::string_view utf8, size_t offset)
{
    return *readStatement(utf8, offset, false);
}

std::optional<HtmlStatement> ReadHtmlStatementIfUtf8(std::string_view bytes)
{
    return readStatement(bytes, 0, true);
}
