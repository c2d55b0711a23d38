// A chart view the trader can explore: zoom, pan, reset, the trade under the pointer, point
// picking.
#pragma once

#include <QChartView>
#include <QList>

#include <functional>
#include <optional>
#include <vector>

class QGraphicsEllipseItem;
class QRubberBand;
class QValueAxis;
class QXYSeries;

/// Wheel or rubber-band drag (left button) zooms, right- or middle-drag and the arrow keys pan,
/// +/- zoom, a double-click or Home goes back to the view the tab set. Curves are value-axis
/// series whose point i lies at x = i; their full data comes from the tab, so a curve drawn
/// thinned is redrawn from the full data for the part in view, and the pointer finds the true
/// nearest point. A bar chart zooms and pans its value axis only.
class ExplorableChartView : public QChartView {
    Q_OBJECT
public:
    /// The full data of a curve (point i at x = i), asked afresh on every use.
    using CurveValues = std::function<const std::vector<double> &()>;
    /// The text shown under the pointer for point (or bar) i.
    using PointText = std::function<QString(int)>;

    /// How far from the pointer, in pixels, a point is still picked.
    static constexpr double kPickRadius = 6;
    /// Zoom factor of one wheel step or one +/- key press.
    static constexpr double kZoomStep = 1.25;

    explicit ExplorableChartView(QChart *chart, QWidget *parent = nullptr);

    /// Lets the pointer explore `series`, drawn from `values`; `text` describes a point. Returns
    /// the curve's number, as pointSelected() reports it. A click signal of the series (a hit on
    /// the line) selects the point nearest to it by x.
    int addCurve(QXYSeries *series, CurveValues values, PointText text);
    /// Describes bar i (0-based along the category axis) under the pointer.
    void setBarText(PointText text) { m_barText = std::move(text); }

    /// Zooms by `factor` (above 1 in) about `position` (viewport pixels), on the axes given.
    void zoomAt(const QPointF &position, double factor,
                Qt::Orientations orientations = Qt::Horizontal | Qt::Vertical);
    /// Shows the part of the plot inside `rectangle` (viewport pixels).
    void zoomToRectangle(const QRectF &rectangle);
    /// Moves the view by `pixels`: the plot follows the pointer.
    void pan(const QPointF &pixels);
    /// Back to the ranges the tab set last.
    void resetView();
    /// True after a zoom or pan, until the reset or the tab's next range.
    bool isExplored() const { return m_explored; }

    struct PickedPoint {
        int curve = -1;
        int index = -1;
        bool isValid() const { return curve >= 0 && index >= 0; }
    };
    /// The point nearest to `position` (viewport pixels) within kPickRadius on screen, or a
    /// point of the line passing that close; searched in the curves' full data.
    PickedPoint pointAt(const QPointF &position) const;
    /// The text the pointer at `position` shows: a curve point's, a bar's, or empty.
    QString textAt(const QPointF &position) const;
    /// The point last selected (by a click or a hit on a line), or an invalid one.
    PickedPoint selectedPoint() const { return m_selected; }

    /// Draws `series` from the part of the curve's full data in view, thinned.
    void redrawCurve(int curve);

Q_SIGNALS:
    /// A click selected point `index` of curve `curve`.
    void pointSelected(int curve, int index);

protected:
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    struct Curve {
        QXYSeries *series;
        CurveValues values;
        PointText text;
    };
    struct AxisRange {
        QValueAxis *axis;
        double min, max;
    };
    struct AxisValue {
        QValueAxis *axis;
        double value;
    };
    enum class Drag { None, RubberBand, Pan };

    // Values to chart coordinates over the plot area, from the axes' ranges (faster than asking
    // the chart for every point of a long curve).
    struct Mapping {
        QRectF plot;
        double minX, maxX, minY, maxY;
        QPointF position(double x, double y) const
        {
            return {plot.left() + (x - minX) / (maxX - minX) * plot.width(),
                    plot.bottom() - (y - minY) / (maxY - minY) * plot.height()};
        }
        double valueX(double chartX) const
        {
            return minX + (chartX - plot.left()) / plot.width() * (maxX - minX);
        }
    };

    QValueAxis *valueAxis(Qt::Orientation orientation) const;
    /// The value of `axis` at chart coordinate `position` (x or y by the axis' orientation).
    double axisValue(const QValueAxis *axis, const QPointF &position) const;
    std::optional<Mapping> mapping() const;
    QPointF toChart(const QPointF &viewportPosition) const;
    QPointF toViewport(const QPointF &chartPosition) const;
    int barAt(const QPointF &position) const;
    QString barTextAt(const QPointF &position) const;
    void setRanges(const QList<AxisRange> &ranges);
    /// The value axes' values at `position` (viewport pixels).
    QList<AxisValue> valuesAt(const QPointF &position) const;
    /// Shifts the axes so that `values` lie under `position` again.
    void keepUnder(const QList<AxisValue> &values, const QPointF &position);
    void onAxisRangeChanged(QValueAxis *axis);
    void selectPoint(int curve, int index);
    void showMarker(const PickedPoint &point);
    void updateMarker();

    QList<Curve> m_curves;
    PointText m_barText;
    QList<AxisRange> m_home; // the ranges the tab set, kept from the first zoom or pan
    bool m_explored = false;
    bool m_settingRanges = false;
    Drag m_drag = Drag::None;
    QPointF m_pressPosition, m_lastPosition;
    QList<AxisValue> m_grabbed; // the values under the pointer when a pan started
    QRubberBand *m_rubberBand;
    QGraphicsEllipseItem *m_marker; // the point under the pointer or the selected one
    PickedPoint m_marked, m_selected;
};
