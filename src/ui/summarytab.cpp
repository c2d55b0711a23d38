// Summary tab layout and rendering of an AccountSummaryResult.
#include "summarytab.h"

#include "anchorlayout.h"
#include "chartutil.h"
#include "explorablechartview.h"
#include "orderlistmodel.h"
#include "pagesize.h"
#include "statement/formatmoney.h"
#include "statementbalancefield.h"

#include <QAreaSeries>
#include <QChart>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QPushButton>
#include <QValueAxis>

#include <algorithm>

namespace {

// Places of the three figures of a line: caption left and width, value left and width.
struct Place {
    int captionLeft, captionWidth, valueLeft, valueWidth;
};
const Place kPlaces[3] = {{8, 150, 158, 72}, {240, 228, 468, 112}, {590, 228, 818, 114}};
constexpr int kTop = 6;
constexpr int kLineHeight = 17;
constexpr size_t kMaxDrawnPoints = 4000;

// The points drawn of the curve from `first` on: all of a short one; of a long one, per slice
// its first and last point and those where the balance is lowest and the peak highest, the
// same for every series of the chart.
std::vector<size_t> drawnPoints(const std::vector<BalancePoint> &curve, size_t first)
{
    std::vector<size_t> drawn;
    if (curve.size() - first <= kMaxDrawnPoints) {
        for (size_t i = first; i < curve.size(); ++i)
            drawn.push_back(i);
        return drawn;
    }
    const size_t slices = kMaxDrawnPoints / 4;
    const size_t per = (curve.size() - first + slices - 1) / slices;
    for (size_t begin = first; begin < curve.size(); begin += per) {
        const size_t end = std::min(curve.size(), begin + per);
        size_t low = begin, high = begin;
        for (size_t i = begin; i < end; ++i) {
            if (curve[i].balance < curve[low].balance)
                low = i;
            if (curve[i].peak > curve[high].peak)
                high = i;
        }
        for (size_t i : {begin, std::min(low, high), std::max(low, high), end - 1})
            if (drawn.empty() || drawn.back() != i)
                drawn.push_back(i);
    }
    return drawn;
}

} // namespace

SummaryTab::SummaryTab(OrderListModel *orders, const StatementBalanceField *initialBalance,
                       QWidget *parent)
    : AnalysisTab(orders, parent), m_initialBalance(initialBalance)
{
    setObjectName(QStringLiteral("TabSheet11"));
    auto *layout = new AnchorLayout(this, kPageSize);

    // The captions are fixed; the values fill in with each press.
    const std::vector<SummaryLine> lines = SummaryLayout(SummaryTexts());
    for (size_t line = 0; line < lines.size(); ++line) {
        const int top = kTop + int(line) * kLineHeight;
        if (!lines[line].lead.isEmpty()) {
            auto *lead = new QLabel(lines[line].lead, this);
            lead->setGeometry(kPlaces[0].captionLeft, top,
                              kPlaces[0].captionWidth + kPlaces[0].valueWidth, kLineHeight);
            QFont bold = lead->font();
            bold.setBold(true);
            lead->setFont(bold);
        }
        for (size_t i = 0; i < lines[line].items.size(); ++i) {
            const SummaryItem &item = lines[line].items[i];
            if (item.caption.isEmpty())
                continue;
            auto *caption = new QLabel(item.caption + QLatin1Char(':'), this);
            caption->setGeometry(kPlaces[i].captionLeft, top, kPlaces[i].captionWidth, kLineHeight);
            auto *value = new QLabel(this);
            value->setObjectName(QString::fromLatin1(item.name));
            value->setGeometry(kPlaces[i].valueLeft, top, kPlaces[i].valueWidth, kLineHeight);
            value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_values.push_back(value);
        }
    }

    const int chartTop = kTop + int(lines.size()) * kLineHeight + 4;
    m_balanceChart =
        CreateChartView(this, QStringLiteral("Chart12"), {8, chartTop, 924, 520 - chartTop},
                        QStringLiteral("Баланс счёта, затенены просадки"));
    QChart *chart = m_balanceChart->chart();
    // Drawn first, so the balance lines lie on top of the shading.
    m_peakEdge = new QLineSeries(this);
    m_balanceEdge = new QLineSeries(this);
    m_drawdownArea = new QAreaSeries(m_peakEdge, m_balanceEdge);
    m_drawdownArea->setObjectName(QStringLiteral("Series40"));
    m_drawdownArea->setName(QStringLiteral("Просадки счёта"));
    m_drawdownArea->setColor(QColor(230, 60, 60, 90));
    m_drawdownArea->setBorderColor(QColor(230, 60, 60, 0));
    chart->addSeries(m_drawdownArea);
    for (QAbstractAxis *axis : chart->axes())
        m_drawdownArea->attachAxis(axis);
    m_terminalCurve =
        AddLineSeries(m_balanceChart, QStringLiteral("Series41"), QColor(128, 128, 128), 1);
    m_terminalCurve->setName(QStringLiteral("Как в терминале (без поздних вводов и выводов)"));
    QPen dashed = m_terminalCurve->pen();
    dashed.setStyle(Qt::DashLine);
    m_terminalCurve->setPen(dashed);
    m_balanceCurve = AddLineSeries(m_balanceChart, QStringLiteral("Series42"), QColor(0, 147, 0));
    m_balanceChart->addCurve(
        m_balanceCurve, [this]() -> const std::vector<double> & { return m_balanceValues; },
        [this](int index) { return pointText(index); });
    m_balanceCurve->setName(QStringLiteral("Баланс счёта"));
    chart->legend()->show();
    chart->legend()->setAlignment(Qt::AlignBottom);

    createCalculateButton(QStringLiteral("Button12"), {8, 527, 75, 25});

    layout->anchor(m_balanceChart, AnchorLayout::Stretch);
    layout->anchor(calculateButton(), AnchorLayout::Bottom);
}

bool SummaryTab::calculate()
{
    SummarySettings settings;
    settings.initialBalance = m_initialBalance->text();
    settings.startingBalance = m_initialBalance->statementBalance();
    if (const std::optional<AccountOperations> &account = orders()->account())
        settings.operations = account->operations;
    settings.decimalSeparator = orders()->decimalSeparator();
    AccountSummaryResult result = CalculateAccountSummary(orders()->table(), settings);
    if (showError(result.error))
        return false;
    show(std::move(result));
    return true;
}

void SummaryTab::reset()
{
    m_result = AccountSummaryResult();
    m_firstDrawn = 0;
    m_balanceValues.clear();
    for (QLabel *value : m_values)
        value->clear();
    for (QLineSeries *series : {m_balanceCurve, m_terminalCurve, m_peakEdge, m_balanceEdge})
        series->clear();
    FitAxes(m_balanceChart);
}

void SummaryTab::show(AccountSummaryResult result)
{
    m_result = std::move(result);
    size_t next = 0;
    for (const SummaryLine &line : SummaryLayout(m_result.texts))
        for (const SummaryItem &item : line.items)
            if (!item.caption.isEmpty())
                m_values[next++]->setText(item.value);

    // The chart begins at the starting balance: money paid in before the first trade (an
    // account that starts empty) would only squeeze the curve.
    size_t first = 0;
    while (first + 1 < m_result.curve.size() && m_result.curve[first + 1].row < 0)
        ++first;
    QList<QPointF> balance, terminal, peak;
    double low = 0, high = 1;
    for (const size_t i : drawnPoints(m_result.curve, first)) {
        const BalancePoint &p = m_result.curve[i];
        const double x = double(i - first);
        balance.append(QPointF(x, p.balance));
        terminal.append(QPointF(x, p.terminalBalance));
        peak.append(QPointF(x, p.peak));
        if (balance.size() == 1) {
            low = std::min(p.balance, p.terminalBalance);
            high = std::max(p.peak, p.terminalBalance);
        }
        low = std::min({low, p.balance, p.terminalBalance});
        high = std::max({high, p.peak, p.terminalBalance});
    }
    m_firstDrawn = first;
    m_balanceValues.clear();
    for (size_t i = first; i < m_result.curve.size(); ++i)
        m_balanceValues.push_back(m_result.curve[i].balance);
    m_balanceCurve->replace(balance);
    m_terminalCurve->replace(terminal);
    m_peakEdge->replace(peak);
    m_balanceEdge->replace(balance);
    FitAxes(m_balanceChart);
    // The peak may stand above every balance point (money paid in while below it).
    if (auto *y =
            qobject_cast<QValueAxis *>(m_balanceChart->chart()->axes(Qt::Vertical).value(0))) {
        y->setRange(std::min(low, y->min()), std::max(high, y->max()));
        y->applyNiceNumbers();
    }
}

QString SummaryTab::pointText(int index) const
{
    const size_t i = m_firstDrawn + size_t(std::max(index, 0));
    if (index < 0 || i >= m_result.curve.size())
        return QString();
    const BalancePoint &p = m_result.curve[i];
    if (p.row < 0) // the start, or money paid in or out
        return FormatMoney(p.balance, orders()->decimalSeparator());
    return TradePointText(orders()->table(), orders()->table().cell(p.row, Column::Ticket), p.row,
                          p.balance, orders()->decimalSeparator());
}
