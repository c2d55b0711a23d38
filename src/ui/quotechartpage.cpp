// Layout of the quote chart page and rendering of a QuoteChart into its five series.
#include "quotechartpage.h"

#include "anchorlayout.h"
#include "messages.h"
#include "pagesize.h"
#include "readoutbar.h"
#include "settingsfile.h"
#include "updownbuttons.h"

#include <QCandlestickSeries>
#include <QCandlestickSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScatterSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

const QColor kLime(0, 255, 0);
const QColor kGrid(0, 96, 0);
constexpr int kDateLabels = 8;

QColor colourOf(std::uint32_t rgb)
{
    return QColor::fromRgb(QRgb(rgb | 0xff000000u));
}

// A marker picture: `shape` filled with `colour` on a transparent square of `side` pixels.
// The series draws it centred on the point, so flat bars and leaning triangles keep their shape.
QImage markerImage(int side, const QPolygonF &shape, const QColor &colour)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(shape);
    return image;
}

// Open mark: 15 × 17 pixels, pointing up or down.
QImage openMarker(OpenShape shape)
{
    const QPolygonF up{QPointF(1, 17), QPointF(16, 17), QPointF(8.5, 0)};
    const QPolygonF down{QPointF(1, 0), QPointF(16, 0), QPointF(8.5, 17)};
    return markerImage(17, shape == OpenShape::Up ? up : down, colourOf(QuoteColour::Yellow));
}

// A candle body filled with one colour whatever the candle's own trend: the series colours
// bodies by open against close, but a texture brush keeps its picture.
QBrush bodyBrush(std::uint32_t rgb)
{
    QImage pixel(1, 1, QImage::Format_RGB32);
    pixel.fill(colourOf(rgb));
    return QBrush(pixel);
}

QScatterSeries *addMarkSeries(QChart *chart, const QString &name, const QString &title,
                              const QColor &colour, int side, const QImage &marker)
{
    auto *series = new QScatterSeries;
    series->setObjectName(name);
    series->setName(title);
    series->setColor(colour);
    series->setBorderColor(Qt::transparent);
    series->setMarkerSize(side);
    series->setLightMarker(marker);
    series->setPointLabelsVisible(false);
    series->setPointsVisible(false); // the marker picture is painted, not the series' own shapes
    chart->addSeries(series);
    return series;
}

// The points of a mark series; a point in another colour than the series' marker (the black
// fillers) keeps its colour in the point's configuration and is not painted: black on black.
// The series is empty when this is called, so the configuration costs nothing to apply and the
// points are laid out once.
void setMarks(QScatterSeries *series, const std::vector<QuotePoint> &points)
{
    QList<QPointF> xy;
    xy.reserve(qsizetype(points.size()));
    QHash<int, QHash<QXYSeries::PointConfiguration, QVariant>> configuration;
    const QColor own = series->color();
    for (size_t i = 0; i < points.size(); ++i) {
        xy.append(QPointF(double(points[i].msecs), points[i].value));
        const QColor colour = colourOf(points[i].colour);
        if (colour != own)
            configuration.insert(int(i), {{QXYSeries::PointConfiguration::Color, colour},
                                          {QXYSeries::PointConfiguration::Visibility, false}});
    }
    series->setPointsConfiguration(configuration);
    series->replace(xy);
}

QLabel *addCaption(QWidget *parent, const QString &name, const QString &text, int left, int top)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->move(left, top);
    label->adjustSize(); // the layout keeps the size a widget has when it is anchored
    return label;
}

QPushButton *addButton(QWidget *parent, const QString &name, const QString &text,
                       const QRect &geometry)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    return button;
}

QLineEdit *addEdit(QWidget *parent, const QString &name, const QString &text, const QRect &geometry)
{
    auto *edit = new QLineEdit(text, parent);
    edit->setObjectName(name);
    edit->setGeometry(geometry);
    return edit;
}

} // namespace

QuoteChartPage::QuoteChartPage(QChar decimalSeparator, QWidget *parent)
    : QWidget(parent), m_decimalSeparator(decimalSeparator),
      m_settingsPath(SettingsFile::defaultPath())
{
    setObjectName(QStringLiteral("TabSheet10"));

    auto *chart = new QChart;
    chart->setTitle(QStringLiteral("      "));
    chart->setTitleBrush(kLime);
    chart->legend()->hide();
    chart->setBackgroundBrush(Qt::black);
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(4, 4, 4, 4));
    m_chart3 = new QChartView(chart, this);
    m_chart3->setObjectName(QStringLiteral("Chart3"));
    m_chart3->setGeometry(3, 3, 922, 457);
    m_chart3->setBackgroundBrush(Qt::black);
    m_chart3->setFrameShape(QFrame::NoFrame);

    m_price = new QCandlestickSeries;
    m_price->setObjectName(QStringLiteral("Series15"));
    m_price->setName(QStringLiteral("price"));
    m_price->setPen(QPen(kLime, 1));
    m_price->setBodyOutlineVisible(true);
    m_price->setBodyWidth(0.6);
    m_price->setMaximumColumnWidth(9); // 4 pixels each side of the centre
    m_price->setCapsVisible(false);
    chart->addSeries(m_price);
    // Series order: price, open, close, sl, tp.
    m_openMarks = addMarkSeries(chart, QStringLiteral("Series17"), QStringLiteral("open"),
                                colourOf(QuoteColour::Yellow), 17, openMarker(OpenShape::Up));
    m_closeMarks = addMarkSeries(chart, QStringLiteral("Series20"), QStringLiteral("close"),
                                 colourOf(QuoteColour::Yellow), 15,
                                 markerImage(15, {QPointF(13, 0), QPointF(13, 15), QPointF(2, 7.5)},
                                             colourOf(QuoteColour::Yellow)));
    const QPolygonF flatBar(QRectF(0, 4, 11, 3));
    m_stopLoss = addMarkSeries(chart, QStringLiteral("Series18"), QStringLiteral("sl"),
                               colourOf(QuoteColour::Red), 11,
                               markerImage(11, flatBar, colourOf(QuoteColour::Red)));
    m_takeProfit = addMarkSeries(chart, QStringLiteral("Series19"), QStringLiteral("tp"),
                                 colourOf(QuoteColour::Aqua), 11,
                                 markerImage(11, flatBar, colourOf(QuoteColour::Aqua)));

    // The series live on a plain time axis in UTC milliseconds; the date labels come from a
    // category axis over the same range, written in UTC (a date-time axis would write local time).
    m_timeAxis = new QValueAxis;
    m_timeAxis->setVisible(false);
    m_dateLabels = new QCategoryAxis;
    m_dateLabels->setObjectName(QStringLiteral("Chart3Dates"));
    m_dateLabels->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_priceAxis = new QValueAxis;
    m_priceAxis->setMinorTickCount(1);
    m_priceAxis->setLabelFormat(QStringLiteral("%.5g"));
    for (QAbstractAxis *axis :
         {static_cast<QAbstractAxis *>(m_dateLabels), static_cast<QAbstractAxis *>(m_priceAxis)}) {
        axis->setLabelsBrush(kLime);
        axis->setTitleBrush(kLime);
        axis->setLinePenColor(kLime);
        axis->setGridLineColor(kGrid);
        axis->setMinorGridLineVisible(false);
    }
    chart->addAxis(m_timeAxis, Qt::AlignBottom);
    chart->addAxis(m_dateLabels, Qt::AlignBottom);
    chart->addAxis(m_priceAxis, Qt::AlignLeft);
    for (QAbstractSeries *series : chart->series()) {
        series->attachAxis(m_timeAxis);
        series->attachAxis(m_priceAxis);
    }

    addCaption(this, QStringLiteral("Label129"), QStringLiteral("Путь к котировкам"), 8, 466);
    m_historyFolder = addEdit(this, QStringLiteral("Edit4"),
                              SettingsFile(m_settingsPath).terminalPath(), {8, 482, 294, 21});
    QPushButton *choose =
        addButton(this, QStringLiteral("Button9"), QStringLiteral("Указать"), {308, 482, 75, 25});
    connect(choose, &QPushButton::clicked, this, &QuoteChartPage::chooseFolder);

    addCaption(this, QStringLiteral("Label130"), QStringLiteral("Таймфрейм"), 392, 466);
    m_timeframe = new QComboBox(this);
    m_timeframe->setObjectName(QStringLiteral("cb1"));
    m_timeframe->setGeometry(392, 482, 61, 21);
    m_timeframe->setEditable(true);
    m_timeframe->setInsertPolicy(QComboBox::NoInsert);
    for (const Timeframe &timeframe : Timeframes())
        m_timeframe->addItem(timeframe.caption);
    m_timeframe->setCurrentIndex(kDefaultTimeframe);

    addCaption(this, QStringLiteral("Label131"), QStringLiteral("Лимит баров"), 464, 466);
    m_barLimit = addEdit(this, QStringLiteral("Edit5"), QStringLiteral("30"), {464, 482, 66, 21});
    auto *barSteps = new UpDownButtons(m_barLimit, 10, 300, this);
    barSteps->setObjectName(QStringLiteral("UpDown2"));
    barSteps->setGeometry(530, 482, 18, 21);

    addCaption(this, QStringLiteral("Label3"), QStringLiteral("Смещение GTM"), 557, 466);
    m_gmtShift = addEdit(this, QStringLiteral("Edit6"), QStringLiteral("0"), {557, 482, 41, 21});
    auto *shiftSteps = new UpDownButtons(m_gmtShift, -23, 23, this);
    shiftSteps->setObjectName(QStringLiteral("UpDown3"));
    shiftSteps->setGeometry(598, 482, 18, 21);

    QPushButton *show =
        addButton(this, QStringLiteral("Button10"), QStringLiteral("Показать"), {645, 478, 75, 25});
    connect(show, &QPushButton::clicked, this, &QuoteChartPage::showTrade);
    QPushButton *save = addButton(this, QStringLiteral("Button11"), QStringLiteral("Сохранить"),
                                  {729, 477, 75, 25});
    connect(save, &QPushButton::clicked, this, &QuoteChartPage::saveChart);

    m_readout = new ReadoutBar(this);
    m_readout->setObjectName(QStringLiteral("sb3"));
    m_readout->setGeometry(0, 526, 928, 19);

    // A bigger window: the chart takes the room, the row of fields follows the bottom.
    auto *layout = new AnchorLayout(this, kInnerPageSize);
    for (QWidget *child : findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child == m_chart3)
            layout->anchor(child, AnchorLayout::Stretch);
        else if (child == m_readout)
            layout->anchor(child, AnchorLayout::BottomStretchWidth);
        else
            layout->anchor(child, AnchorLayout::Bottom);
    }

    m_chooseFolder = [this](const QString &start) {
        return QFileDialog::getExistingDirectory(this, QStringLiteral("Указать"), start);
    };
    m_chooseSaveFile = [this] {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Сохранить"), QString(),
                                            QStringLiteral("bmp (*.bmp)"), nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    };
}

void QuoteChartPage::setSelectedTrade(const SelectedTrade &trade)
{
    m_trade = trade;
    m_readout->setTexts(trade.cells);
}

void QuoteChartPage::setHistoryFolder(const QString &folder)
{
    m_historyFolder->setText(folder);
}

QString QuoteChartPage::historyFolder() const
{
    return m_historyFolder->text();
}

void QuoteChartPage::setSettingsPath(const QString &path)
{
    m_settingsPath = path;
}

QString QuoteChartPage::bitmapPath(const QString &chosen)
{
    const qsizetype nameStart =
        std::max(chosen.lastIndexOf(QLatin1Char('/')), chosen.lastIndexOf(QDir::separator())) + 1;
    const qsizetype dot = chosen.lastIndexOf(QLatin1Char('.'));
    return (dot >= nameStart ? chosen.left(dot) : chosen) + QStringLiteral(".bmp");
}

void QuoteChartPage::showTrade()
{
    if (m_trade.isEmpty())
        return;
    QuoteSettings settings;
    settings.historyFolder = m_historyFolder->text();
    settings.timeframe = m_timeframe->currentIndex();
    settings.timeframeText = m_timeframe->currentText();
    settings.barLimit = m_barLimit->text();
    settings.gmtShift = m_gmtShift->text();
    settings.decimalSeparator = m_decimalSeparator;
    settings.previousShape = m_openShape;
    QuoteChart chart = DrawTrade(m_trade, settings);
    if (chart.error) {
        if (chart.error->column == HistoryColumn())
            ShowNotice(QStringLiteral("Ошибка открытия файла"),
                       chart.error->message + QLatin1Char('\n') +
                           QDir::toNativeSeparators(chart.error->text));
        else
            ShowCalculationError(this, QStringLiteral("На графике"), chart.error);
        return;
    }
    render(std::move(chart));
}

void QuoteChartPage::render(QuoteChart chart)
{
    // Everything is emptied and the axes set before the new points arrive: each change of the
    // axes or of a series lays out every point already there.
    m_price->clear();
    for (QScatterSeries *marks : {m_openMarks, m_closeMarks, m_stopLoss, m_takeProfit}) {
        marks->clear();
        marks->setPointsConfiguration({});
    }
    m_shown = std::move(chart);
    fitAxes();

    QList<QCandlestickSet *> candles;
    candles.reserve(qsizetype(m_shown.candles.size()));
    const QBrush white = bodyBrush(QuoteColour::White);
    const QBrush black = bodyBrush(QuoteColour::Black);
    for (const QuoteCandle &c : m_shown.candles) {
        auto *set = new QCandlestickSet(c.open, c.high, c.low, c.close, double(c.msecs));
        set->setBrush(c.colour == QuoteColour::White   ? white
                      : c.colour == QuoteColour::Black ? black
                                                       : bodyBrush(c.colour));
        candles.append(set);
    }
    m_price->append(candles);
    setMarks(m_openMarks, m_shown.open);
    setMarks(m_closeMarks, m_shown.close);
    setMarks(m_stopLoss, m_shown.stopLoss);
    setMarks(m_takeProfit, m_shown.takeProfit);
    if (m_shown.openShape != m_openShape)
        m_openMarks->setLightMarker(openMarker(m_shown.openShape));
    m_openShape = m_shown.openShape;
    m_chart3->chart()->setTitle(m_shown.title.toHtmlEscaped());
}

void QuoteChartPage::fitAxes()
{
    const std::vector<QuoteCandle> &candles = m_shown.candles;
    for (const QString &label : m_dateLabels->categoriesLabels())
        m_dateLabels->remove(label);
    if (candles.empty())
        return;

    std::vector<qint64> times;
    times.reserve(candles.size());
    double low = candles.front().low, high = candles.front().high;
    for (const QuoteCandle &c : candles) {
        times.push_back(c.msecs);
        low = std::min({low, c.low, c.high});
        high = std::max({high, c.low, c.high});
    }
    for (const auto *marks :
         {&m_shown.open, &m_shown.close, &m_shown.stopLoss, &m_shown.takeProfit})
        for (const QuotePoint &p : *marks) {
            low = std::min(low, p.value);
            high = std::max(high, p.value);
        }
    std::sort(times.begin(), times.end());
    times.erase(std::unique(times.begin(), times.end()), times.end());

    // Half a bar of room on either side, the bar being the shortest step between candles.
    qint64 step = 3600 * 1000;
    for (size_t i = 1; i < times.size(); ++i)
        step = i == 1 ? times[1] - times[0] : std::min(step, times[i] - times[i - 1]);
    const double left = double(times.front() - step / 2);
    const double right = double(times.back() + step / 2);
    m_timeAxis->setRange(left, right);
    m_dateLabels->setRange(left, right);
    m_dateLabels->setStartValue(left);
    const bool daily =
        std::all_of(times.begin(), times.end(), [](qint64 t) { return t % 86400000 == 0; });
    const QString format = daily ? QStringLiteral("dd.MM.yy") : QStringLiteral("dd.MM.yy hh:mm");
    const size_t every = std::max<size_t>(1, (times.size() + kDateLabels - 1) / kDateLabels);
    for (size_t i = 0; i < times.size(); i += every)
        m_dateLabels->append(QDateTime::fromMSecsSinceEpoch(times[i], Qt::UTC).toString(format),
                             double(times[i]));

    const double margin =
        high > low ? (high - low) * 0.04 : std::max(std::fabs(high) * 0.001, 1e-4);
    m_priceAxis->setRange(low - margin, high + margin);
}

void QuoteChartPage::chooseFolder()
{
    const QString current = m_historyFolder->text();
    const QString start = !current.isEmpty() && QDir(current).exists() ? current : QDir::homePath();
    const QString chosen = m_chooseFolder(start);
    if (chosen.isEmpty())
        return;
    const QString folder = QDir::toNativeSeparators(chosen);
    m_historyFolder->setText(folder);
    if (!SettingsFile(m_settingsPath).setTerminalPath(folder))
        ShowError(this, QStringLiteral("Указать"),
                  QStringLiteral("Не удалось записать файл настроек «%1»")
                      .arg(QDir::toNativeSeparators(m_settingsPath)));
}

void QuoteChartPage::saveChart()
{
    const QString chosen = m_chooseSaveFile();
    if (chosen.isEmpty())
        return;
    const QString path = bitmapPath(chosen);
    if (!m_chart3->grab().save(path, "BMP"))
        ShowError(
            this, QStringLiteral("Сохранить"),
            QStringLiteral("Не удалось записать файл «%1»").arg(QDir::toNativeSeparators(path)));
}
