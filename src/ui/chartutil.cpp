// Chart helpers.
#include "chartutil.h"

#include "statement/formatmoney.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

// 1, 2 or 5 times a power of ten, near `x`.
double RoundStep(double x)
{
    const double power = std::pow(10.0, std::floor(std::log10(x)));
    const double q = x / power;
    return (q < 1.5 ? 1 : q < 3 ? 2 : q < 7 ? 5 : 10) * power;
}

QChart *NewChart(const QString &title, int margin)
{
    auto *chart = new QChart;
    chart->setTitle(title);
    chart->legend()->hide();
    chart->setMargins(QMargins(margin, margin, margin, margin));
    chart->setBackgroundRoundness(0);
    chart->setLocale(ChartLocale());
    chart->setLocalizeNumbers(true);
    return chart;
}

} // namespace

QLocale ChartLocale()
{
    QLocale locale;
    // The C locale omits the group separator unless told otherwise.
    locale.setNumberOptions(QLocale::DefaultNumberOptions);
    return locale;
}

void LabelAxisPlainly(QValueAxis *axis, bool wholeNumbers)
{
    const auto update = [axis, wholeNumbers] {
        const double span = axis->max() - axis->min();
        if (!(span > 0) || !std::isfinite(span))
            return;
        double step = RoundStep(span / 4);
        if (wholeNumbers)
            step = std::max(step, 1.0);
        const int decimals = std::clamp(int(-std::floor(std::log10(step) + 1e-9)), 0, 15);
        axis->setTickInterval(step);
        axis->setLabelFormat(QStringLiteral("%.%1f").arg(decimals));
    };
    update();
    axis->setTickAnchor(0);
    axis->setTickType(QValueAxis::TicksDynamic);
    QObject::connect(axis, &QValueAxis::rangeChanged, axis, update);
}

void SetAxisRange(QValueAxis *axis, double min, double max)
{
    // The chart lays the labels out as soon as the range changes, before the range's own
    // handlers can set the step that suits it.
    const double span = std::max(axis->max() - axis->min(), max - min);
    if (axis->tickType() == QValueAxis::TicksDynamic && span > 0 && std::isfinite(span)) {
        const double step = RoundStep(span / 4);
        if (step > axis->tickInterval())
            axis->setTickInterval(step);
    }
    axis->setRange(min, max);
}

QString TradePointText(const StatementTable &table, const QString &ticket, int row, double value,
                       QChar decimalSeparator)
{
    QString text = ticket;
    if (row > 0 && row < table.rowCount() && table.cell(row, Column::Ticket) == ticket)
        text += QStringLiteral("   %1 %2")
                    .arg(table.cell(row, Column::CloseDate), table.cell(row, Column::CloseTime));
    return text + QStringLiteral("   ") + FormatMoney(value, decimalSeparator);
}

ExplorableChartView *CreateChartView(QWidget *parent, const QString &name, const QRect &geometry,
                                     const QString &title)
{
    QChart *chart = NewChart(title, 4);
    auto *x = new QValueAxis;
    auto *y = new QValueAxis;
    LabelAxisPlainly(x, true);
    LabelAxisPlainly(y, false);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    auto *view = new ExplorableChartView(chart, parent);
    view->setObjectName(name);
    view->setGeometry(geometry);
    view->setRenderHint(QPainter::Antialiasing);
    return view;
}

QLineSeries *AddLineSeries(QChartView *view, const QString &name, const QColor &colour, int width)
{
    auto *series = new QLineSeries(view->chart());
    series->setObjectName(name);
    view->chart()->addSeries(series);
    QPen pen = series->pen();
    if (colour.isValid())
        pen.setColor(colour);
    pen.setWidth(width);
    series->setPen(pen);
    series->setPointsVisible(false);
    for (QAbstractAxis *axis : view->chart()->axes())
        series->attachAxis(axis);
    return series;
}

QList<QPointF> ThinnedPoints(const std::vector<double> &values, size_t begin, size_t end)
{
    end = std::min(end, values.size());
    QList<QPointF> drawn;
    if (begin >= end)
        return drawn;
    const size_t count = end - begin;
    if (count <= kMaxDrawnPoints) {
        drawn.reserve(qsizetype(count));
        for (size_t i = begin; i < end; ++i)
            drawn.append(QPointF(double(i), values[i]));
    } else {
        const size_t slices = kMaxDrawnPoints / 4;
        const size_t per = (count + slices - 1) / slices;
        drawn.reserve(qsizetype(kMaxDrawnPoints));
        for (size_t first = begin; first < end; first += per) {
            const size_t stop = std::min(end, first + per);
            size_t low = first, high = first;
            for (size_t i = first; i < stop; ++i) {
                if (values[i] < values[low])
                    low = i;
                if (values[i] > values[high])
                    high = i;
            }
            size_t keep[4] = {first, std::min(low, high), std::max(low, high), stop - 1};
            size_t last = SIZE_MAX;
            for (size_t i : keep) {
                if (i != last)
                    drawn.append(QPointF(double(i), values[i]));
                last = i;
            }
        }
    }
    return drawn;
}

void SetSeriesPoints(QXYSeries *series, const std::vector<double> &values)
{
    series->replace(ThinnedPoints(values, 0, values.size()));
}

void FitAxes(QChartView *view)
{
    double minX = 0, maxX = 1, minY = 0, maxY = 1;
    bool any = false;
    for (QAbstractSeries *abstract : view->chart()->series()) {
        auto *series = qobject_cast<QXYSeries *>(abstract);
        if (!series)
            continue;
        for (const QPointF &p : series->points()) {
            if (!any) {
                minX = maxX = p.x();
                minY = maxY = p.y();
                any = true;
            }
            minX = std::min(minX, p.x());
            maxX = std::max(maxX, p.x());
            minY = std::min(minY, p.y());
            maxY = std::max(maxY, p.y());
        }
    }
    if (maxX - minX < 1)
        maxX = minX + 1;
    if (maxY - minY < 1e-9) {
        minY -= 1;
        maxY += 1;
    }
    const QList<QAbstractAxis *> xs = view->chart()->axes(Qt::Horizontal);
    const QList<QAbstractAxis *> ys = view->chart()->axes(Qt::Vertical);
    if (auto *x = xs.isEmpty() ? nullptr : qobject_cast<QValueAxis *>(xs.first())) {
        SetAxisRange(x, minX, maxX);
        x->applyNiceNumbers();
    }
    if (auto *y = ys.isEmpty() ? nullptr : qobject_cast<QValueAxis *>(ys.first())) {
        SetAxisRange(y, minY, maxY);
        y->applyNiceNumbers();
    }
}

int NearestPointIndex(size_t count, const QPointF &position)
{
    if (count == 0)
        return -1;
    const double x = std::round(position.x());
    if (!(x > 0))
        return 0;
    if (x >= double(count - 1))
        return int(count - 1);
    return int(x);
}

ExplorableChartView *CreateBarChart(QWidget *parent, const QString &name, const QString &seriesName,
                                    const QRect &geometry, const QString &title, QBarSet **set,
                                    bool counts)
{
    QChart *chart = NewChart(title, 2);
    auto *series = new QBarSeries;
    series->setObjectName(seriesName);
    *set = new QBarSet(seriesName);
    series->append(*set);
    series->setLabelsVisible(false);
    chart->addSeries(series);
    auto *days = new QBarCategoryAxis;
    days->append({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                  QStringLiteral("4"), QStringLiteral("5")});
    chart->addAxis(days, Qt::AlignBottom);
    series->attachAxis(days);
    auto *values = new QValueAxis;
    LabelAxisPlainly(values, counts);
    chart->addAxis(values, Qt::AlignLeft);
    series->attachAxis(values);
    auto *view = new ExplorableChartView(chart, parent);
    view->setObjectName(name);
    view->setGeometry(geometry);
    view->setRenderHint(QPainter::Antialiasing);
    return view;
}
