// Statement generator: a random walk of trades with realistic exits.
#include "statementgenerator.h"

#include <QDate>
#include <QFile>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

namespace {

struct Instrument {
    const char *name;
    double price;   // starting price
    int digits;     // decimals in the price texts
    double pipValue; // account money per point per lot
};

const Instrument kInstruments[] = {
    {"EURUSD", 1.3125, 5, 1.0},   {"GBPUSD", 1.5520, 5, 1.0}, {"USDJPY", 91.250, 3, 0.9},
    {"XAUUSD", 1225.40, 2, 1.0},  {"AUDUSD", 0.8930, 5, 1.0}, {"USDCHF", 1.0410, 5, 0.95},
    {"EURJPY", 121.340, 3, 0.9},  {"GBPJPY", 143.110, 3, 0.9},
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

} // namespace

bool WriteStatement(const QString &path, long long trades, std::uint64_t seed)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    std::mt19937_64 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    auto chance = [&](double p) { return unit(rng) < p; };

    std::string out;
    out.reserve(1 << 20);
    out += "Ticket;Open Date;Open Time;Type;Size;Item;Price;S / L;T / P;Close Date;Close Time;"
           "Price;Swap;Profit;\r\n";

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
        const size_t s = std::min(std::size(kInstruments) - 1, size_t(std::pow(unit(rng), 1.6) * std::size(kInstruments)));
        const Instrument &ins = kInstruments[s];
        const double point = std::pow(10.0, -ins.digits) * (ins.digits == 3 || ins.digits == 5 ? 10 : 1);
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
            profit = std::round(dir * (close - open) / point * ins.pipValue * lots * 10 * 100) / 100;
        }
        const long long minutesOpen = 1 + (long long)(unit(rng) * 600);
        const long long closeSecond = secondOfDay + minutesOpen * 60;
        const QDate closeDay = day.addDays(closeSecond / 86400);
        const long long cs = closeSecond % 86400;
        char openTime[64], closeTime[64];
        std::snprintf(openTime, sizeof openTime, "%02lld:%02lld:%02lld", secondOfDay / 3600,
                      secondOfDay / 60 % 60, secondOfDay % 60);
        std::snprintf(closeTime, sizeof closeTime, "%02lld:%02lld:%02lld", cs / 3600, cs / 60 % 60, cs % 60);
        const std::string openPrice = price(open, ins.digits);
        std::string slText = sl == 0 ? "0" : price(sl, ins.digits);
        const std::string tpText = tp == 0 ? "0" : price(tp, ins.digits);
        // An exit at a level writes that level's own text, as the terminal does.
        std::string closeText = price(close, ins.digits);
        if (trailing)
            slText = closeText; // the stop was moved up to where it closed the trade
        else if (!pending && sl != 0 && closeText == price(sl, ins.digits))
            closeText = slText;

        out += std::to_string(10000000 + t);
        out += ';';
        out += day.toString(QStringLiteral("yyyy.MM.dd")).toStdString();
        out += ';';
        out += openTime;
        out += ';';
        out += type;
        out += ';';
        out += money(lots);
        out += ';';
        out += ins.name;
        out += ';';
        out += openPrice;
        out += ';';
        out += slText;
        out += ';';
        out += tpText;
        out += ';';
        out += closeDay.toString(QStringLiteral("yyyy.MM.dd")).toStdString();
        out += ';';
        out += closeTime;
        out += ';';
        out += closeText;
        out += ';';
        out += money(chance(0.1) ? -unit(rng) * 3 : 0.0);
        out += ';';
        out += money(profit);
        out += ";\r\n";
        if (out.size() > (1u << 20) - 512) {
            if (file.write(out.data(), qint64(out.size())) != qint64(out.size()))
                return false;
            out.clear();
        }
    }
    return file.write(out.data(), qint64(out.size())) == qint64(out.size()) && file.flush();
}
