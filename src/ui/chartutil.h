// Chart helpers shared by the tabs: creating a chart view, filling series, finding a clicked point.
#pragma once

#include "analysis/chartdata.h"

#include <QChartView>
#include <QLineSeries>
#include <QString>

#include <vector>

class QBarSet;

/// Where a tab lays out one of its charts: object names, geometry and title (UTF-8, rich text).
struct ChartLayout {
    const char *name, *series;
    QRect geometry;
    const char *title;
};

/// A chart view at `geometry` with `title` (rich text), legend hidden, value axes at left and bottom.
QChartView *CreateChartView(QWidget *parent, const QString &name, const QRect &geometry,
                            const QString &title);

/// A line series of `width` pixels without point markers, attached to the chart's axes.
QLineSeries *AddLineSeries(QChartView *view, const QString &name, const QColor &colour = QColor(),
                           int width = 2);

/// Replaces the series' points with (i, values[i]). Long curves are thinned for drawing (first,
/// lowest, highest and last point of each slice are kept), so a million trades draw as fast as
/// a thousand.
void SetSeriesPoints(QXYSeries *series, const std::vector<double> &values);

/// Fits both axes of the chart to the points of all its series.
void FitAxes(QChartView *view);

/// Index of the point whose x is nearest to `position.x()` on a curve of `count` points at
/// x = 0, 1, 2, ...; -1 for an empty curve.
int NearestPointIndex(size_t count, const QPointF &position);

/// A bar chart view of one bar set over the five weekdays 1..5, its value axis at the left.
QChartView *CreateBarChart(QWidget *parent, const QString &name, const QString &seriesName,
                           const QRect &geometry, const QString &title, QBarSet **set);
