// Risk tab layout and rendering of a RiskResult.
#include "risktab.h"

#include "analysis/sessionstatistics.h"
#include "anchorlayout.h"
#include "chartutil.h"
#include "gridview.h"
#include "orderlistmodel.h"
#include "pagesize.h"
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

RiskTab::RiskTab(OrderListModel *orders, QWidget *parent) : AnalysisTab(orders, parent)
{
    setObjectName(QStringLiteral("TabSheet5"));
    const ChartLayout layouts[] = {
        {"Chart9", "Series16", {-8, 8, 617, 185}, "Риск-менеджмент(TP/SL)"},
        {"Chart10", "LineSeries1", {0, 192, 609, 185}, "Мани-менеджмент(% риска в сделках)"},
        {"Chart11", "LineSeries2", {-8, 376, 617, 179}, "Недоборы в пунктах"},
    };
    for (int i = 0; i < 3; ++i) {
        const ChartLayout &l = layouts[i];
        ExplorableChartView *view = CreateChartView(this, QString::fromLatin1(l.name), l.geometry,
                                                    QString::fromUtf8(l.title));
        view->chart()->setPlotAreaBackgroundBrush(Qt::white);
        view->chart()->setPlotAreaBackgroundVisible(true);
        QLineSeries *series = AddLineSeries(view, QString::fromLatin1(l.series));
        view->addCurve(
            series, [this, i]() -> const std::vector<double> & { return curve(i).values; },
            [this, i](int index) { return pointText(i, index); });
        connect(view, &ExplorableChartView::pointSelected, this,
                [this, i](int, int index) { showTradeOfPoint(i, index); });
        m_curveCharts.append(view);
        m_curves.append(series);
    }

    auto *caption = new QLabel(QStringLiteral("Усредненные значения по валютным парам"), this);
    caption->setObjectName(QStringLiteral("Label122"));
    caption->move(632, 16);
    caption->adjustSize(); // the tab's layout keeps the size a widget has
    m_pairGridModel = new ResultGridModel(this);
    m_pairGridModel->setHeader(RiskGridHeader());
    m_pairGrid = CreateResultGrid(this, QStringLiteral("st4"), {608, 32, 320, 473}, kGridWidths);
    SetGridModel(m_pairGrid, m_pairGridModel, kGridWidths);

    auto *balanceCaption = new QLabel(InitialBalanceCaption(), this);
    balanceCaption->setObjectName(QStringLiteral("Label121"));
    balanceCaption->move(696, 512);
    balanceCaption->adjustSize();
    m_initialBalance = new QLineEdit(QString::number(kDefaultRiskBalance), this);
    m_initialBalance->setObjectName(QStringLiteral("Edit3"));
    m_balanceField = StatementBalanceField(m_initialBalance);
    m_initialBalance->setGeometry(696, 528, 105, 21);

    createCalculateButton(QStringLiteral("Button4"), {616, 523, 75, 24});

    m_tradeReadout = new ReadoutBar(this);
    m_tradeReadout->setObjectName(QStringLiteral("sb1"));
    m_tradeReadout->setGeometry(0, 554, 936, 19);

    // The three curves share the height and most of the width; the grid and its fields the rest.
    auto *layout = new AnchorLayout(this, kPageSize);
    for (int i = 0; i < 3; ++i)
        layout->anchor(m_curveCharts[i], {0, i / 3.0, 0.6, 1 / 3.0});
    layout->anchor(caption, {0.6, 0, 0, 0});
    layout->anchor(m_pairGrid, {0.6, 0, 0.4, 1});
    for (QWidget *w :
         {static_cast<QWidget *>(balanceCaption), static_cast<QWidget *>(m_initialBalance),
          static_cast<QWidget *>(calculateButton())})
        layout->anchor(w, {0.6, 1, 0, 0});
    layout->anchor(m_tradeReadout, AnchorLayout::BottomStretchWidth);
}

bool RiskTab::calculate()
{
    RiskSettings settings;
    settings.initialBalance = m_balanceField.text();
    settings.startingBalance = m_balanceField.statementBalance();
    settings.decimalSeparator = orders()->decimalSeparator();
    RiskResult result = CalculateRisk(orders()->table(), settings);
    if (showError(result.error))
        return false;
    m_result = std::move(result);
    m_pairGridModel->setGrid(m_result.grid);
    for (int i = 0; i < 3; ++i) {
        m_labels[i] = PointLabels(orders()->table(), curve(i));
        SetSeriesPoints(m_curves[i], curve(i).values);
        FitAxes(m_curveCharts[i]);
    }
    return true;
}

void RiskTab::reset()
{
    // A new statement: its own starting balance, when it has one, goes into the balance field.
    const std::optional<AccountOperations> &account = orders()->account();
    m_balanceField.setStatementBalance(account ? std::optional<double>(account->startingBalance)
                                               : std::nullopt,
                                       orders()->decimalSeparator());
    m_result = RiskResult();
    m_pairGridModel->setGrid({RiskGridHeader()});
    for (int i = 0; i < 3; ++i) {
        m_labels[i] = PointLabels();
        m_curves[i]->clear();
        FitAxes(m_curveCharts[i]);
    }
}

const TradeCurve &RiskTab::curve(int i) const
{
    const TradeCurve *curves[3] = {&m_result.riskRatio, &m_result.riskShare, &m_result.shortfall};
    return *curves[i];
}

QString RiskTab::pointText(int curveIndex, int index) const
{
    const TradeCurve &points = curve(curveIndex);
    if (index < 0 || size_t(index) >= m_labels[curveIndex].size() || size_t(index) >= points.size())
        return QString();
    return TradePointText(orders()->table(), m_labels[curveIndex].at(size_t(index)),
                          points.rows[size_t(index)], points.values[size_t(index)],
                          orders()->decimalSeparator());
}

void RiskTab::showTradeOfPoint(int curve, int index)
{
    if (curve < 0 || curve > 2 || index < 0 || size_t(index) >= m_labels[curve].size())
        return;
    m_tradeReadout->showLastRowWithTicket(orders()->table(), m_labels[curve].at(size_t(index)));
}
