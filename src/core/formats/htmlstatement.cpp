// Sections, row kinds and the opening balance of the terminal's HTML account statement.
#include "formats/htmlstatement.h"

#include "formats/htmltablereader.h"
#include "formats/semicolonformat.h"
#include "statement/formatmoney.h"
#include "statement/parsenumber.h"

#include <algorithm>
#include <cmath>
#include <string>

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

// A number cell without its thousands blanks.
std::string_view withoutBlanks(std::string_view cell, std::string &buffer)
{
    if (cell.find(' ') == std::string_view::npos)
        return cell;
    buffer.clear();
    for (const char c : cell)
        if (c != ' ')
            buffer.push_back(c);
    return buffer;
}

std::optional<double> numberOf(std::string_view cell)
{
    std::string buffer;
    const std::string_view digits = withoutBlanks(cell, buffer);
    if (digits.empty())
        return std::nullopt;
    return ParseNumber(digits, QLatin1Char('.'));
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

class StatementReader {
public:
    explicit StatementReader(std::string_view text, size_t offset) : m_rows(text, offset)
    {
        m_builder.reserve(text.size() / 700 + 16, text.size() / 8 + 1024);
        m_builder.addRow(StatementHeaderCells());
    }

    HtmlStatement read();

private:
    void takeTitle(std::string_view label);
    void takeClosedRow();
    void orderCells(std::string_view type, std::string_view *cells);
    void takeTrade(bool buy);
    void takePending(bool buy);
    void takeMoney(bool credit);
    void takeSummaryRow();
    void note(const QString &text);

    HtmlTableReader m_rows;
    StatementTableBuilder m_builder;
    HtmlStatement m_result;
    Section m_section = Section::None;
    bool m_sawClosed = false;
    bool m_untitled = false; // a title row of an unknown label is waiting for the row after it
    int m_tablesByShape = 0; // order tables met so far: closed, open, working
    int m_notesLeftOut = 0;
    std::optional<double> m_closingBalance;
    double m_resultSum = 0;
    std::string m_firstClose; // earliest close time of a trade
    bool m_haveTrade = false;
    std::string m_cells[kTradeCells];
};

void StatementReader::note(const QString &text)
{
    if (m_result.notes.size() < kMaxNotes)
        m_result.notes.append(QStringLiteral("Строка %1 файла: %2").arg(m_rows.rowLine()).arg(text));
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

HtmlStatement StatementReader::read()
{
    while (m_rows.nextRow()) {
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
    if (!m_sawClosed)
        return std::move(m_result);
    if (m_notesLeftOut > 0)
        m_result.notes.append(QStringLiteral("… и ещё строк пропущено: %1").arg(m_notesLeftOut));

    AccountOperations &account = m_result.account;
    double balanceRows = 0;
    for (const BalanceOperation &op : account.operations)
        if (op.kind == BalanceOperation::Balance)
            balanceRows += op.amount;
    account.broughtForward = m_closingBalance ? roundedToCents(*m_closingBalance - m_resultSum - balanceRows) : 0.0;
    double early = 0;
    const QString firstClose = QString::fromLatin1(m_firstClose.data(), qsizetype(m_firstClose.size()));
    for (const BalanceOperation &op : account.operations)
        if (!m_haveTrade || op.time < firstClose)
            early += op.amount;
    account.startingBalance = roundedToCents(account.broughtForward + early);
    m_result.table = m_builder.finish();
    return std::move(m_result);
}

void StatementReader::takeClosedRow()
{
    if (m_rows.cellCount() < 3 || !isTicket(m_rows.cell(0)))
        return; // header, totals, the comment rows some exports add: not transactions
    if (!m_rows.rowClosed()) {
        note(QStringLiteral("файл кончается внутри строки тикета %1 — строка не взята").arg(qstring(m_rows.cell(0))));
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

// Cells 0 to 11 of an order row, the same for trades and pending orders.
void StatementReader::orderCells(std::string_view type, std::string_view *cells)
{
    const HtmlTableReader &r = m_rows;
    auto splitTime = [cells](std::string_view text, int dateColumn) {
        const size_t blank = text.find(' ');
        cells[dateColumn] = text.substr(0, blank);
        cells[dateColumn + 1] = blank == std::string_view::npos ? std::string_view() : text.substr(blank + 1);
    };
    cells[Ticket] = r.cell(0);
    splitTime(r.cell(1), OpenDate);
    cells[Type] = type;
    cells[Size] = withoutBlanks(r.cell(3), m_cells[Size]);
    std::string &symbol = m_cells[Symbol];
    symbol.assign(r.cell(4));
    for (char &c : symbol)
        if (c >= 'a' && c <= 'z')
            c = char(c - ('a' - 'A'));
    cells[Symbol] = symbol;
    cells[OpenPrice] = withoutBlanks(r.cell(5), m_cells[OpenPrice]);
    cells[StopLoss] = withoutBlanks(r.cell(6), m_cells[StopLoss]);
    cells[TakeProfit] = withoutBlanks(r.cell(7), m_cells[TakeProfit]);
    splitTime(r.cell(8), CloseDate);
    cells[ClosePrice] = withoutBlanks(r.cell(9), m_cells[ClosePrice]);
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
    for (int c = 10; c < 14; ++c) {
        const auto value = numberOf(r.cell(c));
        if (!value) {
            note(QStringLiteral("тикет %1: «%2» — не число — строка не взята").arg(qstring(r.cell(0)), qstring(r.cell(c))));
            return;
        }
        result += *value;
    }
    std::string_view cells[kTradeCells];
    orderCells(buy ? "BUY" : "SELL", cells);
    cells[Swap] = withoutBlanks(r.cell(12), m_cells[Swap]);
    std::string &profit = m_cells[Profit];
    profit.clear();
    for (const QChar ch : FormatMoney(result, QLatin1Char('.')))
        profit.push_back(char(ch.unicode()));
    cells[Profit] = profit;
    m_builder.addRow(cells, kTradeCells);

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
    cells[Swap] = "0.00";
    cells[Profit] = "0.00";
    m_builder.addRow(cells, kTradeCells);
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
    m_result.account.operations.push_back(std::move(op));
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

} // namespace

HtmlStatement ReadHtmlStatement(std::string_view utf8, size_t offset)
{
    return StatementReader(utf8, offset).read();
}
