// Statistics tab layout and rendering of a StatisticsResult.
#include "statisticstab.h"

#include "anchorlayout.h"
#include "chartutil.h"
#include "orderlistmodel.h"
#include "pagesize.h"
#include "readoutbar.h"
#include "updownbuttons.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// Pixels between a caption's text and its value.
constexpr int kCaptionGap = 4;
// The smallest font a value is shrunk to.
constexpr int kSmallestFontPixels = 7;

QLabel *addCaption(QWidget *parent, const QString &text, int left, int top)
{
    auto *label = new QLabel(text, parent);
    label->move(left, top);
    label->adjustSize(); // the tab's layout keeps the size a widget has
    return label;
}

// Shows the whole number: a text wider than the label is drawn in a smaller font, down to
// kSmallestFontPixels.
void setFittedText(QLabel *label, const QString &text)
{
    QFont font = label->parentWidget()->font();
    const int width = label->width();
    for (int pixels = QFontInfo(font).pixelSize(); pixels >= kSmallestFontPixels; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).horizontalAdvance(text) <= width)
            break;
    }
    label->setFont(font);
    label->setText(text);
    label->setToolTip(text);
}

QGroupBox *addBox(QWidget *parent, const QString &name, const QString &title, const QRect &geometry)
{
    auto *box = new QGroupBox(title, parent);
    box->setObjectName(name);
    box->setGeometry(geometry);
    return box;
}

// Value label names of the session boxes, rows top to bottom, sessions 0..4.
const char *const kSessionLabelNames[10][5] = {
    {"Label70", "Label79", "Label88", "Label97", "Label106"},
    {"Label71", "Label80", "Label89", "Label98", "Label107"},
    {"Label72", "Label81", "Label90", "Label99", "Label108"},
    {"Label73", "Label82", "Label91", "Label100", "Label109"},
    {"Label74", "Label83", "Label92", "Label101", "Label110"},
    {"Label75", "Label84", "Label93", "Label102", "Label111"},
    {"Label76", "Label85", "Label94", "Label103", "Label112"},
    {"Label77", "Label86", "Label95", "Label104", "Label113"},
    {"Label78", "Label87", "Label96", "Label105", "Label114"},
    {"Label8", "Label9", "Label12", "Label62", "Label66"},
};
const int kSessionRowTops[10] = {24, 48, 64, 80, 96, 136, 152, 168, 184, 208};

// The left edge of a value: its laid-out place, or right of its caption's text when the font
// makes the caption longer than the place allows.
int valueLeft(int left, const QLabel *caption)
{
    const int captionEnd =
        caption->x() + caption->fontMetrics().horizontalAdvance(caption->text().trimmed());
    return std::max(left, captionEnd + kCaptionGap);
}

} // namespace

QLabel *StatisticsTab::addValueLabel(QWidget *box, const QString &name, int left, int top)
{
    auto *label = new QLabel(box);
    label->setObjectName(name);
    label->setGeometry(left, top, box->width() - left - 3, 15);
    return label;
}

StatisticsTab::StatisticsTab(OrderListModel *orders, QWidget *parent) : AnalysisTab(orders, parent)
{
    setObjectName(QStringLiteral("TabSheet3"));

    QGroupBox *wins = addBox(this, QStringLiteral("GroupBox1"),
                             QStringLiteral("Прибыльные позиции"), {8, 8, 145, 97});
    QGroupBox *losses = addBox(this, QStringLiteral("GroupBox2"),
                               QStringLiteral("Убыточные позиции"), {8, 104, 145, 97});
    QLabel **values[2][3] = {{&m_winCount, &m_winSum, &m_winAverage},
                             {&m_lossCount, &m_lossSum, &m_lossAverage}};
    const char *const names[2][3] = {{"Label60", "Label61", "Label63"},
                                     {"Label64", "Label65", "Label67"}};
    const QString captions[3] = {QStringLiteral("Количество "), QStringLiteral("Сумма"),
                                 QStringLiteral("Средняя")};
    for (int side = 0; side < 2; ++side) {
        QGroupBox *box = side == 0 ? wins : losses;
        for (int row = 0; row < 3; ++row) {
            const int top = 24 + 24 * row;
            const QLabel *caption = addCaption(box, captions[row], 8, top);
            *values[side][row] = addValueLabel(box, QString::fromLatin1(names[side][row]),
                                               valueLeft(80, caption), top);
        }
    }
    QGroupBox *total =
        addBox(this, QStringLiteral("GroupBox3"), QStringLiteral("Итог"), {8, 200, 145, 49});
    const QLabel *netCaption = addCaption(total, QStringLiteral("Чистая"), 8, 24);
    m_net = addValueLabel(total, QStringLiteral("Label69"), valueLeft(80, netCaption), 24);

    m_balanceChart = CreateChartView(this, QStringLiteral("Chart2"), {160, 0, 721, 250},
                                     QStringLiteral("График баланса"));
    m_balanceCurve = AddLineSeries(m_balanceChart, QStringLiteral("Series14"), QColor(0, 147, 0));
    m_balanceChart->addCurve(
        m_balanceCurve, [this]() -> const std::vector<double> & { return m_result.equity.values; },
        [this](int index) { return pointText(index); });
    connect(m_balanceChart, &ExplorableChartView::pointSelected, this,
            [this](int, int index) { showTradeOfPoint(index); });

    QGroupBox *sessions = addBox(this, QStringLiteral("GroupBox4"),
                                 QStringLiteral("По торговым сесиям"), {8, 256, 873, 249});
    const QStringList titles = SessionCaptions();
    const QStringList rowCaptions = SessionRowCaptions();
    const int lefts[5] = {8, 160, 312, 496, 712};
    const int widths[5] = {153, 153, 185, 217, 153};
    const int valueLefts[5] = {91, 90, 104, 92, 91};
    for (int s = 0; s < 5; ++s) {
        QGroupBox *box = addBox(sessions, QStringLiteral("GroupBox%1").arg(5 + s), titles[s],
                                {lefts[s], 16, widths[s], 233});
        for (int row = 0; row < 10; ++row) {
            const QLabel *caption = addCaption(box, rowCaptions[row], 8, kSessionRowTops[row]);
            m_sessionLabels[size_t(s)][size_t(row)] =
                addValueLabel(box, QString::fromLatin1(kSessionLabelNames[row][s]),
                              valueLeft(valueLefts[s], caption), kSessionRowTops[row]);
        }
    }

    auto *offsetCaption = addCaption(this, ServerOffsetCaption(), 32, 504);
    offsetCaption->setObjectName(QStringLiteral("Label59"));
    m_serverOffset = new QLineEdit(QString::number(kDefaultServerOffset), this);
    m_serverOffset->setObjectName(QStringLiteral("Edit1"));
    m_serverOffset->setGeometry(88, 521, 33, 21);
    auto *upDown = new UpDownButtons(m_serverOffset, 0, 23, this);
    upDown->setObjectName(QStringLiteral("UpDown1"));
    upDown->setGeometry(121, 521, 18, 21);
    auto *balanceCaption = addCaption(this, InitialBalanceCaption(), 192, 504);
    balanceCaption->setObjectName(QStringLiteral("Label13"));
    m_initialBalance = new QLineEdit(QString::number(kDefaultStatisticsBalance), this);
    m_initialBalance->setObjectName(QStringLiteral("Edit2"));
    m_balanceField = StatementBalanceField(m_initialBalance);
    m_initialBalance->setGeometry(192, 520, 105, 21);

    createCalculateButton(QStringLiteral("Button2"), {8, 520, 75, 25});

    m_tradeReadout = new ReadoutBar(this);
    m_tradeReadout->setObjectName(QStringLiteral("sb2"));
    m_tradeReadout->setGeometry(0, 554, 936, 19);

    // A bigger window: the balance chart takes the room, the row of fields follows the bottom.
    auto *layout = new AnchorLayout(this, kPageSize);
    layout->anchor(m_balanceChart, AnchorLayout::Stretch);
    layout->anchor(sessions, AnchorLayout::Bottom);
    for (QWidget *w :
         {static_cast<QWidget *>(offsetCaption), static_cast<QWidget *>(m_serverOffset),
          static_cast<QWidget *>(upDown), static_cast<QWidget *>(balanceCaption),
          static_cast<QWidget *>(m_initialBalance), static_cast<QWidget *>(calculateButton())})
        layout->anchor(w, AnchorLayout::Bottom);
    layout->anchor(m_tradeReadout, AnchorLayout::BottomStretchWidth);
}

bool StatisticsTab::calculate()
{
    StatisticsSettings settings;
    settings.serverOffset = m_serverOffset->text();
    settings.initialBalance = m_balanceField.text();
    settings.startingBalance = m_balanceField.statementBalance();
    settings.decimalSeparator = orders()->decimalSeparator();
    StatisticsResult result = CalculateStatistics(orders()->table(), settings);
    if (showError(result.error))
        return false;
    show(std::move(result));
    return true;
}

void StatisticsTab::reset()
{
    // A new statement: its own starting balance, when it has one, goes into the balance field.
    const std::optional<AccountOperations> &account = orders()->account();
    m_balanceField.setStatementBalance(account ? std::optional<double>(account->startingBalance)
                                               : std::nullopt,
                                       orders()->decimalSeparator());
    m_result = StatisticsResult();
    m_equityLabels = PointLabels();
    for (QLabel *label :
         {m_winCount, m_winSum, m_winAverage, m_lossCount, m_lossSum, m_lossAverage, m_net})
        label->clear();
    for (auto &box : m_sessionLabels)
        for (QLabel *label : box)
            label->clear();
    m_balanceCurve->clear();
    FitAxes(m_balanceChart);
}

void StatisticsTab::show(StatisticsResult result)
{
    m_result = std::move(result);
    m_equityLabels = PointLabels(orders()->table(), m_result.equity);
    setFittedText(m_winCount, m_result.winCount);
    setFittedText(m_winSum, m_result.winSum);
    setFittedText(m_winAverage, m_result.winAverage);
    setFittedText(m_lossCount, m_result.lossCount);
    setFittedText(m_lossSum, m_result.lossSum);
    setFittedText(m_lossAverage, m_result.lossAverage);
    setFittedText(m_net, m_result.net);
    for (size_t s = 0; s < 5; ++s) {
        const std::array<QString, 10> texts = m_result.sessionTexts[s].rows();
        for (size_t row = 0; row < 10; ++row)
            setFittedText(m_sessionLabels[s][row], texts[row]);
    }
    SetSeriesPoints(m_balanceCurve, m_result.equity.values);
    FitAxes(m_balanceChart);
}

QString StatisticsTab::pointText(int index) const
{
    if (index < 0 || size_t(index) >= m_equityLabels.size() ||
        size_t(index) >= m_result.equity.size())
        return QString();
    return TradePointText(orders()->table(), m_equityLabels.at(size_t(index)),
                          m_result.equity.rows[size_t(index)],
                          m_result.equity.values[size_t(index)], orders()->decimalSeparator());
}

void StatisticsTab::showTradeOfPoint(int index)
{
    if (index < 0 || size_t(index) >= m_equityLabels.size())
        return;
    m_tradeReadout->showLastRowWithTicket(orders()->table(), m_equityLabels.at(size_t(index)));
}
