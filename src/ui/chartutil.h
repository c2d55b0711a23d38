// Chart helpers shared by the tabs: creating a chart view, filling series, axis labels, point
// texts.
#pragma once

#include "analysis/chartdata.h"
#include "explorablechartview.h"

#include <QLineSeries>
#include <QList>
#include <QLocale>
#include <QString>

#include <vector>

class QBarSet;
class QValueAxis;

/// A curve longer than this is thinned for drawing.
constexpr size_t kMaxDrawnPoints = 4000;

/// Where a tab lays out one of its charts: object names, geometry and title (UTF-8, rich text).
struct ChartLayout {
    const char *name, *series;
    QRect geometry;
    const char *title;
};

/// A chart view at `geometry` with `title` (rich text), legend hidden, value axes at left and
/// bottom labelled by LabelAxisPlainly (the bottom one counts trades: whole numbers).
ExplorableChartView *CreateChartView(QWidget *parent, const QString &name, const QRect &geometry,
                                     const QString &title);

/// A line series of `width` pixels without point markers, attached to the chart's axes.
QLineSeries *AddLineSeries(QChartView *view, const QString &name, const QColor &colour = QColor(),
                           int width = 2);

/// The points (i, values[i]) for i in [begin, end), at most about kMaxDrawnPoints of them: a longer
/// stretch keeps the first, lowest, highest and last point of each slice, so the drawn line covers
/// every value and a million trades draw as fast as a thousand.
QList<QPointF> ThinnedPoints(const std::vector<double> &values, size_t begin, size_t end);

/// Replaces the series' points with ThinnedPoints of the whole curve.
void SetSeriesPoints(QXYSeries *series, const std::vector<double> &values);

/// The locale of the axis labels: the system's, with thousands grouping.
QLocale ChartLocale();

/// Keeps the axis' labels plain numbers with thousands grouping ("1,500,000", never "1.5e+06"):
/// after every range change the ticks fall on round values and get just the decimals they need.
/// `wholeNumbers` keeps the tick step at 1 or more (trade numbers, counts).
void LabelAxisPlainly(QValueAxis *axis, bool wholeNumbers);

/// Sets the axis' range; the tick step of a plainly labelled axis is first made right for the
/// larger of the old and the new span, so the chart never lays out thousands of ticks between.
void SetAxisRange(QValueAxis *axis, double min, double max);

/// The text under the pointer for a trade's point: its ticket, close date and time (when row
/// `row` of the table still holds that ticket) and the value with 2 decimals.
QString TradePointText(const StatementTable &table, const QString &ticket, int row, double value,
                       QChar decimalSeparator);

/// Fits both axes of the chart to the points of all its series.
void FitAxes(QChartView *view);

/// Index of the point whose x is nearest to `position.x()` on a curve of `count` points at
/// x = 0, 1, 2, ...; -1 for an empty curve.
int NearestPointIndex(size_t count, const QPointF &position);

/// A bar chart view of one bar set over the five weekdays 1..5, its value axis at the left
/// (whole-number ticks for `counts`).
ExplorableChartView *CreateBarChart(QWidget *parent, const QString &name, const QString &seriesName,
                                    const QRect &geometry, const QString &title, QBarSet **set,
                                    bool counts = false);
