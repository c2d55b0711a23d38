// Risk tab layout and rendering of a RiskResult.
#include "risktab.h"

#include "chartutil.h"
#include "gridview.h"
#include "messages.h"
#include "orderlistmodel.h"
#include "readoutbar.h"
#include "resultgridmodel.h"

#include <QChart>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace {
const QList<int> kGridWidths = {73, 75, 76, 64};
}

RiskTab::RiskTab(OrderListModel *orders, QWidget *parent) : QWidget(parent), m_orders(orders)
{
    setObjectName(QStringLiteral("TabSheet5"));
    struct ChartLayout {
        const char *name, *series;
        QRect geometry;
        const char *title;
    };
    const ChartLayout layouts[] = {
        {"Chart9", "Series16", {-8, 8, 617, 185}, "Риск-менеджмент(TP/SL)"},
        {"Chart10", "LineSeries1", {0, 192, 609, 185}, "Мани-менеджмент(% риска в сделках)"},
        {"Chart11", "LineSeries2", {-8, 376, 617, 179}, "Недоборы в пунктах"},
    };
    for (int i = 0; i < 3; ++i) {
        const ChartLayout &l = layouts[i];
        QChartView *view = CreateChartView(this, QString::fromLatin1(l.name), l.geometry, QString::fromUtf8(l.title));
        view->chart()->setPlotAreaBackgroundBrush(Qt::white);
        view->chart()->setPlotAreaBackgroundVisible(true);
        QLineSeries *series = AddLineSeries(view, QString::fromLatin1(l.series));
        connect(series, &QLineSeries::clicked, this, [this, i](const QPointF &point) {
            showTradeOfPoint(i, NearestPointIndex(m_labels[i].size(), point));
        });
        m_charts.append(view);
        m_series.append(series);
    }

    auto *caption = new QLabel(QStringLiteral("Усредненные значения по валютным парам"), this);
    caption->setObjectName(QStringLiteral("Label122"));
    caption->move(632, 16);
    m_grid = new ResultGridModel(this);
    m_grid->setHeader({QStringLiteral("Вал. пара"), QStringLiteral("Риск М"), QStringLiteral("Мани М"),
                       QStringLiteral("Недобор")});
    m_st4 = CreateResultGrid(this, QStringLiteral("st4"), {608, 32, 320, 473}, kGridWidths);
    SetGridModel(m_st4, m_grid, kGridWidths);

    auto *balanceCaption = new QLabel(QStringLiteral("Начальный баланс"), this);
    balanceCaption->setObjectName(QStringLiteral("Label121"));
    balanceCaption->move(696, 512);
    m_edit3 = new QLineEdit(QStringLiteral("8000"), this);
    m_edit3->setObjectName(QStringLiteral("Edit3"));
    m_edit3->setGeometry(696, 528, 105, 21);

    m_button = new QPushButton(QStringLiteral("Расчет"), this);
    m_button->setObjectName(QStringLiteral("Button4"));
    m_button->setGeometry(616, 523, 75, 24);
    m_button->setEnabled(false);
    connect(m_button, &QPushButton::clicked, this, &RiskTab::Button4Click);

    m_sb1 = new ReadoutBar(this);
    m_sb1->setObjectName(QStringLiteral("sb1"));
    m_sb1->setGeometry(0, 554, 936, 19);
}

void RiskTab::Button4Click()
{
    RiskSettings settings;
    settings.initialBalance = m_edit3->text();
    settings.decimalSeparator = m_orders->decimalSeparator();
    RiskResult result = CalculateRisk(m_orders->table(), settings);
    if (ShowCalculationError(this, QStringLiteral("Риск-менеджмент"), result.error))
        return;
    m_result = std::move(result);
    m_grid->setGrid(m_result.grid);
    const TradeCurve *curves[3] = {&m_result.riskRatio, &m_result.riskShare, &m_result.shortfall};
    for (int i = 0; i < 3; ++i) {
        m_labels[i] = PointLabels(m_orders->table(), *curves[i]);
        SetSeriesPoints(m_series[i], curves[i]->values);
        FitAxes(m_charts[i]);
    }
}

void RiskTab::showTradeOfPoint(int curve, int index)
{
    if (curve < 0 || curve > 2 || index < 0 || size_t(index) >= m_labels[curve].size())
        return;
    m_sb1->showLastRowWithTicket(m_orders->table(), m_labels[curve].at(size_t(index)));
}
