// Chart helpers.
#include "chartutil.h"

#include <QChart>
#include <QBarSet>
#include <QBarSeries>
#include <QBarCategoryAxis>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {
constexpr size_t kMaxDrawnPoints = 4000;
}

QChartView *CreateChartView(QWidget *parent, const QString &name, const QRect &geometry,
                            const QString &title)
{
    auto *chart = new QChart;
    chart->setTitle(title);
    chart->legend()->hide();
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->setBackgroundRoundness(0);
    auto *x = new QValueAxis;
    auto *y = new QValueAxis;
    x->setLabelFormat(QStringLiteral("%.0f"));
    y->setLabelFormat(QStringLiteral("%.10g"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    auto *view = new QChartView(chart, parent);
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

void SetSeriesPoints(QXYSeries *series, const std::vector<double> &values)
{
    QList<QPointF> drawn;
    if (values.size() <= kMaxDrawnPoints) {
        drawn.reserve(qsizetype(values.size()));
        for (size_t i = 0; i < values.size(); ++i)
            drawn.append(QPointF(double(i), values[i]));
    } else {
        const size_t slices = kMaxDrawnPoints / 4;
        const size_t per = (values.size() + slices - 1) / slices;
        drawn.reserve(qsizetype(kMaxDrawnPoints));
        for (size_t begin = 0; begin < values.size(); begin += per) {
            const size_t end = std::min(values.size(), begin + per);
            size_t low = begin, high = begin;
            for (size_t i = begin; i < end; ++i) {
                if (values[i] < values[low])
                    low = i;
                if (values[i] > values[high])
                    high = i;
            }
            size_t keep[4] = {begin, std::min(low, high), std::max(low, high), end - 1};
            size_t last = SIZE_MAX;
            for (size_t i : keep) {
                if (i != last)
                    drawn.append(QPointF(double(i), values[i]));
                last = i;
            }
        }
    }
    series->replace(drawn);
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
        x->setRange(minX, maxX);
        x->applyNiceNumbers();
    }
    if (auto *y = ys.isEmpty() ? nullptr : qobject_cast<QValueAxis *>(ys.first())) {
        y->setRange(minY, maxY);
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

QChartView *CreateBarChart(QWidget *parent, const QString &name, const QString &seriesName,
                           const QRect &geometry, const QString &title, QBarSet **set)
{
    auto *chart = new QChart;
    chart->setTitle(title);
    chart->legend()->hide();
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->setBackgroundRoundness(0);
    auto *series = new QBarSeries;
    series->setObjectName(seriesName);
    *set = new QBarSet(seriesName);
    series->append(*set);
    series->setLabelsVisible(false);
    chart->addSeries(series);
    auto *days = new QBarCategoryAxis;
    days->append({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"),
                  QStringLiteral("5")});
    chart->addAxis(days, Qt::AlignBottom);
    series->attachAxis(days);
    auto *values = new QValueAxis;
    values->setLabelFormat(QStringLiteral("%.6g"));
    chart->addAxis(values, Qt::AlignLeft);
    series->attachAxis(values);
    auto *view = new QChartView(chart, parent);
    view->setObjectName(name);
    view->setGeometry(geometry);
    view->setRenderHint(QPainter::Antialiasing);
    return view;
}
