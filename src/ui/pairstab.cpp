// Pairs tab layout and rendering of a PairsResult.
#include "pairstab.h"

#include "anchorlayout.h"
#include "chartutil.h"
#include "gridview.h"
#include "orderlistmodel.h"
#include "pagesize.h"
#include "resultgridmodel.h"
#include "statement/formatmoney.h"
#include "statement/symbollist.h"

#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QPushButton>
#include <QTableView>

namespace {
const QList<int> kGridWidths = {83, 56, 51};
}

PairsTab::PairsTab(OrderListModel *orders, QWidget *parent) : AnalysisTab(orders, parent)
{
    setObjectName(QStringLiteral("TabSheet2"));
    m_profitChart = CreateChartView(this, QStringLiteral("Chart1"), {8, 8, 689, 497},
                                    QStringLiteral("График профита по валютам"));
    QLegend *legend = m_profitChart->chart()->legend();
    legend->setAlignment(Qt::AlignRight);
    QFont legendFont = legend->font();
    legendFont.setBold(true);
    legendFont.setPixelSize(12);
    legend->setFont(legendFont);
    legend->show();

    // Series 1 and 2 take the chart's own colours; the rest are fixed, each its own: series 11
    // and 12 would repeat the lime and olive of series 6 and 5 and get red and grey instead.
    // clang-format off
    const QColor colours[kPairCurveCount] = {
        QColor(), QColor(), QColor(255, 128, 64), QColor(0, 0, 255), QColor(128, 128, 0),
        QColor(0, 255, 0), QColor(255, 0, 255), QColor(0, 128, 128), QColor(0, 0, 128),
        QColor(128, 0, 0), QColor(255, 0, 0), QColor(128, 128, 128), QColor(128, 0, 128)};
    // clang-format on
    for (int i = 0; i < kPairCurveCount; ++i) {
        QLineSeries *series =
            AddLineSeries(m_profitChart, QStringLiteral("Series%1").arg(i + 1), colours[i]);
        series->setName(QStringLiteral("Series%1").arg(i + 1));
        m_pairCurves.append(series);
        legend->markers(series).constFirst()->setVisible(false);
        m_profitChart->addCurve(
            series, [this, i]() -> const std::vector<double> & { return curveValues(i); },
            [this, i](int index) { return pointText(i, index); });
    }

    m_pairGridModel = new ResultGridModel(this);
    m_pairGridModel->setHeader(PairsGridHeader());
    m_pairGrid = CreateResultGrid(this, QStringLiteral("st2"), {703, 8, 209, 497}, kGridWidths);
    SetGridModel(m_pairGrid, m_pairGridModel, kGridWidths);

    createCalculateButton(QStringLiteral("Button1"), {24, 512, 113, 25});

    auto *layout = new AnchorLayout(this, kPageSize);
    layout->anchor(m_profitChart, AnchorLayout::Stretch);
    layout->anchor(m_pairGrid, {1, 0, 0, 1});
    layout->anchor(calculateButton(), AnchorLayout::Bottom);
}

bool PairsTab::calculate()
{
    PairsResult result = CalculatePairs(orders()->table(), orders()->decimalSeparator());
    if (showError(result.error))
        return false;
    m_result = std::move(result);
    // The rows behind each curve's points, for the text under the pointer: a pair's point j is
    // its j-th row in table order.
    const StatementTable &table = orders()->table();
    const SymbolList symbols = SymbolList::BuildSymbolList(table);
    m_curveRows.assign(m_result.curves.size(), {});
    for (size_t i = 0; i < m_curveRows.size(); ++i)
        m_curveRows[i].reserve(m_result.curves[i].values.size());
    for (int r = 1; r < table.rowCount(); ++r) {
        const size_t k = size_t(symbols.indexOfRow(r));
        if (k >= 1 && k <= m_curveRows.size())
            m_curveRows[k - 1].push_back(r);
    }
    m_pairGridModel->setGrid(m_result.grid, m_result.shades);
    QLegend *legend = m_profitChart->chart()->legend();
    for (int i = 0; i < kPairCurveCount; ++i) {
        QLineSeries *series = m_pairCurves[i];
        const bool drawn = size_t(i) < m_result.curves.size();
        // Series without a pair keep their earlier title and stay empty, out of the legend.
        if (drawn)
            series->setName(m_result.curves[size_t(i)].title);
        SetSeriesPoints(series, drawn ? m_result.curves[size_t(i)].values : std::vector<double>());
        legend->markers(series).constFirst()->setVisible(drawn);
    }
    FitAxes(m_profitChart);
    return true;
}

const std::vector<double> &PairsTab::curveValues(int i) const
{
    static const std::vector<double> none;
    return size_t(i) < m_result.curves.size() ? m_result.curves[size_t(i)].values : none;
}

QString PairsTab::pointText(int curve, int index) const
{
    const std::vector<double> &values = curveValues(curve);
    if (index < 0 || size_t(index) >= values.size() || size_t(curve) >= m_curveRows.size() ||
        size_t(index) >= m_curveRows[size_t(curve)].size())
        return QString();
    const StatementTable &table = orders()->table();
    const int row = m_curveRows[size_t(curve)][size_t(index)];
    const QString ticket = row < table.rowCount() ? table.cell(row, Column::Ticket) : QString();
    return m_result.curves[size_t(curve)].title + QStringLiteral("   ") +
           TradePointText(table, ticket, row, values[size_t(index)], orders()->decimalSeparator());
}

void PairsTab::reset()
{
    m_result = PairsResult();
    m_curveRows.clear();
    m_pairGridModel->setGrid({PairsGridHeader()});
    QLegend *legend = m_profitChart->chart()->legend();
    for (QLineSeries *series : std::as_const(m_pairCurves)) {
        series->clear();
        legend->markers(series).constFirst()->setVisible(false);
    }
    FitAxes(m_profitChart);
}
