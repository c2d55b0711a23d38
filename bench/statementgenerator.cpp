// Statement generator: a random walk of trades with realistic exits.
#include "statementgenerator.h"

#include <QDate>
#include <QFile>

#include <cmath>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <string_view>

namespace {

struct Instrument {
    const char *name;
    double price;    // starting price
    int digits;      // decimals in the price texts
    double pipValue; // account money per point per lot
};

const Instrument kInstruments[] = {
    {"EURUSD", 1.3125, 5, 1.0},  {"GBPUSD", 1.5520, 5, 1.0},  {"USDJPY", 91.250, 3, 0.9},
    {"XAUUSD", 1225.40, 2, 1.0}, {"AUDUSD", 0.8930, 5, 1.0},  {"USDCHF", 1.0410, 5, 0.95},
    {"EURJPY", 121.340, 3, 0.9}, {"GBPJPY", 143.110, 3, 0.9},
};

std::string price(double value, int digits)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.*f", digits, value);
    return buf;
}

std::string money(double value)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", value);
    return std::string(buf) == "-0.00" ? "0.00" : buf;
}

// Calls `take` with the 14 fields of each generated order, in statement order.
bool generateOrders(long long trades, std::uint64_t seed,
                    const std::function<bool(const std::string *)> &take)
{
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    auto chance = [&](double p) { return unit(rng) < p; };

    double prices[std::size(kInstruments)];
    for (size_t i = 0; i < std::size(kInstruments); ++i)
        prices[i] = kInstruments[i].price;
    QDate day(2011, 1, 3);
    long long secondOfDay = 0;

    for (long long t = 0; t < trades; ++t) {
        // Time moves forward a little with each order, so the statement spans every session and
        // weekday; weekends are rare but present.
        secondOfDay += 60 + (long long)(unit(rng) * 5400);
        while (secondOfDay >= 86400) {
            secondOfDay -= 86400;
            day = day.addDays(1);
            if (day.dayOfWeek() >= 6 && !chance(0.05))
                day = day.addDays(8 - day.dayOfWeek());
        }
        const size_t s = std::min(std::size(kInstruments) - 1,
                                  size_t(std::pow(unit(rng), 1.6) * std::size(kInstruments)));
        const Instrument &ins = kInstruments[s];
        const double point =
            std::pow(10.0, -ins.digits) * (ins.digits == 3 || ins.digits == 5 ? 10 : 1);
        prices[s] *= 1.0 + (unit(rng) - 0.5) * 0.002;
        const double scale = std::pow(10.0, ins.digits);
        const double open = std::round(prices[s] * scale) / scale;
        const bool buy = chance(0.5);
        const double lots = 0.01 * (1 + int(unit(rng) * 100));
        const int stopPoints = 10 + int(unit(rng) * 60);
        const int targetPoints = 10 + int(unit(rng) * 120);
        const double dir = buy ? 1.0 : -1.0;
        const double sl = chance(0.85) ? open - dir * stopPoints * point : 0.0;
        const double tp = chance(0.8) ? open + dir * targetPoints * point : 0.0;

        std::string type = buy ? "BUY" : "SELL";
        double close;
        double profit;
        bool trailing = false;
        const double r = unit(rng);
        const bool pending = r < 0.04;
        if (pending) {
            type = buy ? "BUYSTOP " : "SELLSTOP";
            close = open;
            profit = 0;
        } else {
            if (r < 0.30 && sl != 0) {
                close = sl; // stopped out
            } else if (r < 0.52 && tp != 0) {
                close = tp; // target reached
            } else if (r < 0.58 && sl != 0) {
                // trailing stop moved into profit
                close = open + dir * (5 + int(unit(rng) * 40)) * point;
                trailing = true;
            } else if (r < 0.63) {
                close = open; // closed at the open price
            } else {
                close = open + dir * (unit(rng) - 0.45) * 80 * point; // manual close
            }
            close = std::round(close * scale) / scale;
            profit =
                std::round(dir * (close - open) / point * ins.pipValue * lots * 10 * 100) / 100;
        }
        const long long minutesOpen = 1 + (long long)(unit(rng) * 600);
        const long long closeSecond = secondOfDay + minutesOpen * 60;
        const QDate closeDay = day.addDays(closeSecond / 86400);
        const long long cs = closeSecond % 86400;
        char openTime[64], closeTime[64];
        std::snprintf(openTime, sizeof openTime, "%02lld:%02lld:%02lld", secondOfDay / 3600,
                      secondOfDay / 60 % 60, secondOfDay % 60);
        std::snprintf(closeTime, sizeof closeTime, "%02lld:%02lld:%02lld", cs / 3600, cs / 60 % 60,
                      cs % 60);
        const std::string openPrice = price(open, ins.digits);
        std::string slText = sl == 0 ? "0" : price(sl, ins.digits);
        const std::string tpText = tp == 0 ? "0" : price(tp, ins.digits);
        // An exit at a level writes that level's own text, as the terminal does.
        std::string closeText = price(close, ins.digits);
        if (trailing)
            slText = closeText; // the stop was moved up to where it closed the trade
        else if (!pending && sl != 0 && closeText == price(sl, ins.digits))
            closeText = slText;

        const std::string fields[14] = {
            std::to_string(10000000 + t),
            day.toString(QStringLiteral("yyyy.MM.dd")).toStdString(),
            openTime,
            type,
            money(lots),
            ins.name,
            openPrice,
            slText,
            tpText,
            closeDay.toString(QStringLiteral("yyyy.MM.dd")).toStdString(),
            closeTime,
            closeText,
            money(chance(0.1) ? -unit(rng) * 3 : 0.0),
            money(profit)};
        if (!take(fields))
            return false;
    }
    return true;
}

// Writes the text in pieces of about a megabyte.
class ChunkedFile {
public:
    explicit ChunkedFile(const QString &path) : m_file(path) { m_out.reserve(1 << 20); }
    bool open() { return m_file.open(QIODevice::WriteOnly | QIODevice::Truncate); }
    std::string &text() { return m_out; }
    bool spill(bool last = false)
    {
        if (!last && m_out.size() < (1u << 20) - 2048)
            return true;
        const bool ok = m_file.write(m_out.data(), qint64(m_out.size())) == qint64(m_out.size());
        m_out.clear();
        return ok && (!last || m_file.flush());
    }

private:
    QFile m_file;
    std::string m_out;
};

// A money text as the terminal prints it: a blank between thousands.
std::string terminalMoney(const std::string &plain)
{
    const size_t dot = plain.find('.');
    const size_t digitsBegin = plain[0] == '-' ? 1 : 0;
    std::string out = plain.substr(0, digitsBegin);
    const size_t integerDigits = (dot == std::string::npos ? plain.size() : dot) - digitsBegin;
    for (size_t i = 0; i < integerDigits; ++i) {
        if (i > 0 && (integerDigits - i) % 3 == 0)
            out += ' ';
        out += plain[digitsBegin + i];
    }
    if (dot != std::string::npos)
        out += plain.substr(dot);
    return out;
}

} // namespace

bool WriteStatement(const QString &path, long long trades, std::uint64_t seed)
{
    ChunkedFile file(path);
    if (!file.open())
        return false;
    std::string &out = file.text();
    out += "Ticket;Open Date;Open Time;Type;Size;Item;Price;S / L;T / P;Close Date;Close Time;"
           "Price;Swap;Profit;\r\n";
    const bool ok = generateOrders(trades, seed, [&](const std::string *fields) {
        for (int i = 0; i < 14; ++i) {
            out += fields[i];
            out += ';';
        }
        out += "\r\n";
        return file.spill();
    });
    return ok && file.spill(true);
}

bool WriteHtmlStatement(const QString &path, long long trades, std::uint64_t seed)
{
    ChunkedFile file(path);
    if (!file.open())
        return false;
    std::string &out = file.text();
    const double deposit = 100000.0;
    out += "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" "
           "\"http://www.w3.org/TR/html4/strict.dtd\">\r\n"
           "<html>\r\n  <head>\r\n    <title>Statement: 1000000 - Generated</title>\r\n"
           "    <meta name=\"generator\" content=\"MetaQuotes Software Corp.\">\r\n"
           "    <style type=\"text/css\" media=\"screen\">\r\n    <!--\r\n    td { font: 8pt "
           "Tahoma,Arial; }\r\n"
           "    //-->\r\n    </style>\r\n  </head>\r\n<body topmargin=1 marginheight=1>\r\n<div "
           "align=center>\r\n"
           "<div style=\"font: 20pt Times New Roman\"><b>Generated Broker</b></div><br>\r\n"
           "<table cellspacing=1 cellpadding=3 border=0>\r\n"
           "<tr align=left><td colspan=13><b>Closed Transactions:</b></td></tr>\r\n"
           "<tr align=center bgcolor=\"#C0C0C0\">\r\n   <td>Ticket</td><td nowrap>Open "
           "Time</td><td>Type</td>"
           "<td>Size</td><td>Item</td>\r\n   <td>Price</td><td>S / L</td><td>T / P</td><td "
           "nowrap>Close Time</td>\r\n"
           "   <td>Price</td><td>Commission</td><td>Taxes</td><td>Swap</td><td>Profit</td></tr>\r\n"
           "<tr align=right><td title=\"Deposit\">9999999</td><td class=msdate nowrap>2011.01.02 "
           "00:00:00</td>"
           "<td>balance</td><td colspan=10 align=left>Deposit</td><td class=mspt>100 "
           "000.00</td></tr>\n";
    double total = 0;
    long long row = 0;
    const bool ok = generateOrders(trades, seed, [&](const std::string *f) {
        const std::string_view type = f[3];
        const bool pending = type.size() > 4; // "BUYSTOP " or "SELLSTOP"
        const bool buy = type[0] == 'B';
        std::string symbol = f[5];
        for (char &c : symbol)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        const size_t dot = f[6].find('.');
        const std::string style =
            "<td style=\"mso-number-format:0\\." +
            std::string(dot == std::string::npos ? 0 : f[6].size() - dot - 1, '0') + ";\">";
        const bool comment = row % 3 == 0;
        out += row++ % 2 ? "<tr align=right>" : "<tr bgcolor=#E0E0E0 align=right>";
        out += comment ? "<td title=\"#20110103 generated\">" : "<td>";
        out += f[0];
        out += "</td><td class=msdate nowrap>";
        out += f[1] + ' ' + f[2];
        out += "</td><td>";
        out += pending ? (buy ? "buy stop" : "sell stop") : (buy ? "buy" : "sell");
        out += "</td><td class=mspt>" + f[4] + "</td><td>" + symbol + "</td>";
        for (int c : {6, 7, 8})
            out += style + f[c] + "</td>";
        out += "<td class=msdate nowrap>" + f[9] + ' ' + f[10] + "</td>" + style + f[11] + "</td>";
        if (pending) {
            out += "<td colspan=4>cancelled</td></tr>\n";
        } else {
            // The table's Profit is the whole result; the terminal lists the swap apart from it.
            const double swap = std::stod(f[12]);
            const double profit = std::stod(f[13]);
            total += profit;
            out += "<td class=mspt>0.00</td><td class=mspt>0.00</td><td class=mspt>" +
                   terminalMoney(f[12]) + "</td><td class=mspt>" +
                   terminalMoney(money(profit - swap)) + "</td></tr>\n";
        }
        if (comment)
            out += "<tr align=right><td colspan=9>&nbsp;</td><td>20110103</td><td "
                   "colspan=3>generated</td></tr>\n";
        return file.spill();
    });
    if (!ok)
        return false;
    out += "<tr align=right>\r\n    <td colspan=12 align=right><b>Closed P/L:</b></td>\r\n"
           "    <td colspan=2 align=right class=mspt><b>" +
           terminalMoney(money(total)) +
           "</b></td>\r\n</tr>\r\n"
           "<tr align=left><td colspan=14><b>Open Trades:</b></td></tr>\r\n"
           "<tr align=right><td colspan=13 align=center>No transactions</td></tr>\r\n"
           "<tr align=left><td colspan=14><b>Summary:</b></td></tr>\r\n"
           "<tr align=right>\r\n    <td colspan=2><b>Deposit/Withdrawal:</b></td>\r\n"
           "    <td colspan=2 class=mspt><b>100 000.00</b></td></tr>\r\n"
           "<tr align=right>\r\n    <td colspan=2><b>Balance:</b></td>\r\n    <td colspan=2 "
           "class=mspt><b>" +
           terminalMoney(money(deposit + total)) +
           "</b></td></tr>\r\n</table>\r\n</div></body></html>\r\n";
    return file.spill(true);
}
