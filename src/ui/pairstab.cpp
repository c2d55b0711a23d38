// Pairs tab layout and rendering of a PairsResult.
#include "pairstab.h"

#include "chartutil.h"
#include "gridview.h"
#include "messages.h"
#include "orderlistmodel.h"
#include "resultgridmodel.h"

#include <QChart>
#include <QLegend>
#include <QLegendMarker>
#include <QPushButton>
#include <QTableView>

namespace {
const QList<int> kGridWidths = {83, 56, 51};
}

PairsTab::PairsTab(OrderListModel *orders, QWidget *parent) : QWidget(parent), m_orders(orders)
{
    setObjectName(QStringLiteral("TabSheet2"));
    m_chart1 = CreateChartView(this, QStringLiteral("Chart1"), {8, 8, 689, 497},
                               QStringLiteral("График профита по валютам"));
    QLegend *legend = m_chart1->chart()->legend();
    legend->setAlignment(Qt::AlignBottom);
    QFont legendFont = legend->font();
    legendFont.setBold(true);
    legendFont.setPixelSize(12);
    legend->setFont(legendFont);
    legend->show();

    // Series 1 and 2 take the chart's own colours; the rest are fixed.
    const QColor colours[kPairCurveCount] = {
        QColor(), QColor(), QColor(255, 128, 64), QColor(0, 0, 255), QColor(128, 128, 0),
        QColor(0, 255, 0), QColor(255, 0, 255), QColor(0, 128, 128), QColor(0, 0, 128),
        QColor(128, 0, 0), QColor(0, 255, 0), QColor(128, 128, 0), QColor(128, 0, 128)};
    for (int i = 0; i < kPairCurveCount; ++i) {
        QLineSeries *series = AddLineSeries(m_chart1, QStringLiteral("Series%1").arg(i + 1), colours[i]);
        series->setName(QStringLiteral("Series%1").arg(i + 1));
        m_series.append(series);
        legend->markers(series).constFirst()->setVisible(false);
    }

    m_grid = new ResultGridModel(this);
    m_grid->setHeader({QStringLiteral("Symbol"), QStringLiteral("Profit"), QStringLiteral("Count")});
    m_st2 = CreateResultGrid(this, QStringLiteral("st2"), {703, 8, 209, 497}, kGridWidths);
    SetGridModel(m_st2, m_grid, kGridWidths);

    m_button = new QPushButton(QStringLiteral("Расчет"), this);
    m_button->setObjectName(QStringLiteral("Button1"));
    m_button->setGeometry(24, 512, 113, 25);
    m_button->setEnabled(false);
    connect(m_button, &QPushButton::clicked, this, &PairsTab::Button1Click);
}

void PairsTab::Button1Click()
{
    PairsResult result = CalculatePairs(m_orders->table(), m_orders->decimalSeparator());
    if (ShowCalculationError(this, QStringLiteral("По валютным парам"), result.error))
        return;
    m_result = std::move(result);
    m_grid->setGrid(m_result.grid, m_result.shades);
    QLegend *legend = m_chart1->chart()->legend();
    for (int i = 0; i < kPairCurveCount; ++i) {
        QLineSeries *series = m_series[i];
        const bool drawn = size_t(i) < m_result.curves.size();
        // Series without a pair keep their earlier title and stay empty, out of the legend.
        if (drawn)
            series->setName(m_result.curves[size_t(i)].title);
        SetSeriesPoints(series, drawn ? m_result.curves[size_t(i)].values : std::vector<double>());
        legend->markers(series).constFirst()->setVisible(drawn);
    }
    FitAxes(m_chart1);
}
