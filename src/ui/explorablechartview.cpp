// Zoom, pan, reset, pointer text and point picking on the analysis charts.
#include "explorablechartview.h"

#include "chartutil.h"

#include <QAbstractAxis>
#include <QContextMenuEvent>
#include <QGraphicsEllipseItem>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRubberBand>
#include <QToolTip>
#include <QValueAxis>
#include <QWheelEvent>
#include <QXYSeries>

#include <algorithm>
#include <cmath>

namespace {

// A drag shorter than this is a click.
constexpr double kDragThreshold = 4;

double DistanceToSegment(const QPointF &p, const QPointF &a, const QPointF &b)
{
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    double t = length2 > 0 ? QPointF::dotProduct(p - a, ab) / length2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const QPointF d = p - (a + t * ab);
    return std::hypot(d.x(), d.y());
}

} // namespace

ExplorableChartView::ExplorableChartView(QChart *chart, QWidget *parent) : QChartView(chart, parent)
{
    setRubberBand(NoRubberBand);
    setDragMode(NoDrag);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    m_rubberBand = new QRubberBand(QRubberBand::Rectangle, viewport());
    m_rubberBand->hide();
    m_marker = new QGraphicsEllipseItem(chart);
    m_marker->setRect(-4, -4, 8, 8);
    m_marker->setBrush(Qt::white);
    m_marker->setZValue(1000);
    m_marker->hide();
    connect(chart, &QChart::plotAreaChanged, this, &ExplorableChartView::updateMarker);
    for (QAbstractAxis *axis : chart->axes()) {
        if (auto *value = qobject_cast<QValueAxis *>(axis))
            connect(value, &QValueAxis::rangeChanged, this,
                    [this, value] { onAxisRangeChanged(value); });
    }
}

int ExplorableChartView::addCurve(QXYSeries *series, CurveValues values, PointText text)
{
    const int curve = int(m_curves.size());
    m_curves.append({series, std::move(values), std::move(text)});
    connect(series, &QXYSeries::clicked, this, [this, curve](const QPointF &point) {
        const int index = NearestPointIndex(m_curves[curve].values().size(), point);
        if (index >= 0)
            selectPoint(curve, index);
    });
    return curve;
}

QValueAxis *ExplorableChartView::valueAxis(Qt::Orientation orientation) const
{
    const QList<QAbstractAxis *> axes = chart()->axes(orientation);
    return axes.isEmpty() ? nullptr : qobject_cast<QValueAxis *>(axes.first());
}

QPointF ExplorableChartView::toChart(const QPointF &viewportPosition) const
{
    return chart()->mapFromScene(viewportTransform().inverted().map(viewportPosition));
}

QPointF ExplorableChartView::toViewport(const QPointF &chartPosition) const
{
    return viewportTransform().map(chart()->mapToScene(chartPosition));
}

double ExplorableChartView::axisValue(const QValueAxis *axis, const QPointF &position) const
{
    const QRectF plot = chart()->plotArea();
    const double span = axis->max() - axis->min();
    if (axis->orientation() == Qt::Horizontal)
        return axis->min() + (position.x() - plot.left()) / plot.width() * span;
    return axis->min() + (plot.bottom() - position.y()) / plot.height() * span;
}

std::optional<ExplorableChartView::Mapping> ExplorableChartView::mapping() const
{
    const QValueAxis *x = valueAxis(Qt::Horizontal);
    const QValueAxis *y = valueAxis(Qt::Vertical);
    const QRectF plot = chart()->plotArea();
    if (!x || !y || plot.isEmpty() || !(x->max() > x->min()) || !(y->max() > y->min()))
        return std::nullopt;
    return Mapping{plot, x->min(), x->max(), y->min(), y->max()};
}

void ExplorableChartView::setRanges(const QList<AxisRange> &ranges)
{
    if (ranges.isEmpty())
        return;
    if (!m_explored) {
        m_home.clear();
        for (const Qt::Orientation o : {Qt::Horizontal, Qt::Vertical}) {
            if (QValueAxis *axis = valueAxis(o))
                m_home.append({axis, axis->min(), axis->max()});
        }
    }
    m_settingRanges = true;
    for (const AxisRange &r : ranges)
        SetAxisRange(r.axis, r.min, r.max);
    m_settingRanges = false;
    m_explored = true;
}

QList<ExplorableChartView::AxisValue> ExplorableChartView::valuesAt(const QPointF &position) const
{
    QList<AxisValue> values;
    for (const Qt::Orientation o : {Qt::Horizontal, Qt::Vertical}) {
        if (QValueAxis *axis = valueAxis(o))
            values.append({axis, axisValue(axis, toChart(position))});
    }
    return values;
}

void ExplorableChartView::keepUnder(const QList<AxisValue> &values, const QPointF &position)
{
    // New ranges may change the width of the axis labels and so move the plot area; a second
    // round, seldom a third, puts the values back under the pointer.
    for (int round = 0; round < 3; ++round) {
        QList<AxisRange> ranges;
        for (const AxisValue &v : values) {
            const double shift = v.value - axisValue(v.axis, toChart(position));
            if (std::abs(shift) > 1e-12 * (v.axis->max() - v.axis->min()))
                ranges.append({v.axis, v.axis->min() + shift, v.axis->max() + shift});
        }
        if (ranges.isEmpty())
            return;
        setRanges(ranges);
    }
}

void ExplorableChartView::zoomAt(const QPointF &position, double factor,
                                 Qt::Orientations orientations)
{
    const QPointF at = toChart(position);
    const QList<AxisValue> centres = valuesAt(position);
    QList<AxisRange> ranges;
    for (const Qt::Orientation o : {Qt::Horizontal, Qt::Vertical}) {
        QValueAxis *axis = valueAxis(o);
        if (!axis || !(orientations & o))
            continue;
        const double centre = axisValue(axis, at);
        const double min = centre - (centre - axis->min()) / factor;
        const double max = centre + (axis->max() - centre) / factor;
        // Stop where the doubles no longer tell the ends apart.
        if (!(max - min > 1e-9 * std::max(1.0, std::abs(centre))) || !std::isfinite(max - min))
            continue;
        ranges.append({axis, min, max});
    }
    setRanges(ranges);
    keepUnder(centres, position);
}

void ExplorableChartView::zoomToRectangle(const QRectF &rectangle)
{
    const QRectF r =
        QRectF(toChart(rectangle.topLeft()), toChart(rectangle.bottomRight())).normalized();
    QList<AxisRange> ranges;
    QValueAxis *x = valueAxis(Qt::Horizontal);
    if (x && r.width() >= kDragThreshold)
        ranges.append({x, axisValue(x, r.topLeft()), axisValue(x, r.bottomRight())});
    QValueAxis *y = valueAxis(Qt::Vertical);
    if (y && r.height() >= kDragThreshold)
        ranges.append({y, axisValue(y, r.bottomRight()), axisValue(y, r.topLeft())});
    setRanges(ranges);
}

void ExplorableChartView::pan(const QPointF &pixels)
{
    const QRectF plot = chart()->plotArea();
    if (plot.isEmpty())
        return;
    QList<AxisRange> ranges;
    if (QValueAxis *x = valueAxis(Qt::Horizontal); x && pixels.x() != 0) {
        const double shift = -pixels.x() / plot.width() * (x->max() - x->min());
        ranges.append({x, x->min() + shift, x->max() + shift});
    }
    if (QValueAxis *y = valueAxis(Qt::Vertical); y && pixels.y() != 0) {
        const double shift = pixels.y() / plot.height() * (y->max() - y->min());
        ranges.append({y, y->min() + shift, y->max() + shift});
    }
    setRanges(ranges);
}

void ExplorableChartView::resetView()
{
    if (!m_explored)
        return;
    m_settingRanges = true;
    for (const AxisRange &r : std::as_const(m_home))
        SetAxisRange(r.axis, r.min, r.max);
    m_settingRanges = false;
    m_explored = false;
}

void ExplorableChartView::onAxisRangeChanged(QValueAxis *axis)
{
    // A range the tab sets (new figures) is the new starting view, and the points picked in the
    // old figures are gone.
    if (!m_settingRanges) {
        m_explored = false;
        m_selected = m_marked = PickedPoint();
    }
    if (axis->orientation() == Qt::Horizontal) {
        for (int c = 0; c < m_curves.size(); ++c)
            redrawCurve(c);
    }
    updateMarker();
}

void ExplorableChartView::redrawCurve(int curve)
{
    const std::vector<double> &values = m_curves[curve].values();
    const QValueAxis *x = valueAxis(Qt::Horizontal);
    // A curve short enough is drawn whole once by the tab and left alone.
    if (!x || values.size() <= kMaxDrawnPoints)
        return;
    const double last = double(values.size() - 1);
    const double from = std::clamp(std::floor(x->min()) - 1, 0.0, last);
    const double to = std::clamp(std::ceil(x->max()) + 1, 0.0, last);
    m_curves[curve].series->replace(ThinnedPoints(values, size_t(from), size_t(to) + 1));
}

ExplorableChartView::PickedPoint ExplorableChartView::pointAt(const QPointF &position) const
{
    PickedPoint best;
    const std::optional<Mapping> map = mapping();
    const QPointF at = toChart(position);
    if (!map ||
        !map->plot.adjusted(-kPickRadius, -kPickRadius, kPickRadius, kPickRadius).contains(at))
        return best;
    double bestDistance = kPickRadius;
    bool onVertex = false;
    for (int c = 0; c < m_curves.size(); ++c) {
        if (!m_curves[c].series->isVisible())
            continue;
        const std::vector<double> &values = m_curves[c].values();
        if (values.empty())
            continue;
        // Only points within the radius left and right of the pointer can be near it; one more on
        // each side gives the line segments that pass by.
        const double last = double(values.size() - 1);
        const double from =
            std::clamp(std::floor(map->valueX(at.x() - kPickRadius)) - 1, 0.0, last);
        const double to = std::clamp(std::ceil(map->valueX(at.x() + kPickRadius)) + 1, 0.0, last);
        QPointF previous;
        for (size_t i = size_t(from); i <= size_t(to); ++i) {
            const QPointF p = map->position(double(i), values[i]);
            const double d = std::hypot(p.x() - at.x(), p.y() - at.y());
            if (d <= kPickRadius && (!onVertex || d < bestDistance)) {
                best = {c, int(i)};
                bestDistance = d;
                onVertex = true;
            } else if (!onVertex && i > size_t(from)) {
                // The line between two points far apart: the nearer end of the segment.
                const double s = DistanceToSegment(at, previous, p);
                if (s <= bestDistance) {
                    const double toPrevious =
                        std::hypot(previous.x() - at.x(), previous.y() - at.y());
                    best = {c, int(d < toPrevious ? i : i - 1)};
                    bestDistance = s;
                }
            }
            previous = p;
        }
    }
    return best;
}

int ExplorableChartView::barAt(const QPointF &position) const
{
    const QList<QAbstractSeries *> series = chart()->series();
    if (series.isEmpty() || !chart()->plotArea().contains(toChart(position)))
        return -1;
    const double x = chart()->mapToValue(toChart(position), series.first()).x();
    return int(std::lround(x));
}

QString ExplorableChartView::textAt(const QPointF &position) const
{
    const PickedPoint point = pointAt(position);
    return point.isValid() ? m_curves[point.curve].text(point.index) : barTextAt(position);
}

QString ExplorableChartView::barTextAt(const QPointF &position) const
{
    const int bar = m_barText ? barAt(position) : -1;
    return bar >= 0 ? m_barText(bar) : QString();
}

void ExplorableChartView::selectPoint(int curve, int index)
{
    m_selected = {curve, index};
    showMarker(m_selected);
    Q_EMIT pointSelected(curve, index);
}

void ExplorableChartView::showMarker(const PickedPoint &point)
{
    m_marked = point;
    updateMarker();
}

void ExplorableChartView::updateMarker()
{
    const std::optional<Mapping> map = mapping();
    if (!m_marked.isValid() || m_marked.curve >= m_curves.size() || !map) {
        m_marker->hide();
        return;
    }
    const Curve &curve = m_curves[m_marked.curve];
    const std::vector<double> &values = curve.values();
    if (size_t(m_marked.index) >= values.size()) {
        m_marker->hide();
        return;
    }
    const QPointF p = map->position(m_marked.index, values[size_t(m_marked.index)]);
    m_marker->setPen(QPen(curve.series->color(), 2));
    m_marker->setPos(p);
    m_marker->setVisible(map->plot.contains(p));
}

void ExplorableChartView::wheelEvent(QWheelEvent *event)
{
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0) {
        event->ignore();
        return;
    }
    // Shift zooms along the x axis only, Ctrl along the y axis only.
    Qt::Orientations orientations = Qt::Horizontal | Qt::Vertical;
    if (event->modifiers() & Qt::ShiftModifier)
        orientations = Qt::Horizontal;
    else if (event->modifiers() & Qt::ControlModifier)
        orientations = Qt::Vertical;
    zoomAt(event->position(), std::pow(kZoomStep, steps), orientations);
    event->accept();
}

void ExplorableChartView::mousePressEvent(QMouseEvent *event)
{
    m_pressPosition = m_lastPosition = event->position();
    QToolTip::hideText();
    if (event->button() == Qt::LeftButton) {
        m_drag = Drag::RubberBand;
    } else if (event->button() == Qt::RightButton || event->button() == Qt::MiddleButton) {
        m_drag = Drag::Pan;
        m_grabbed = valuesAt(m_pressPosition);
        viewport()->setCursor(Qt::ClosedHandCursor);
    }
    event->accept();
}

void ExplorableChartView::mouseMoveEvent(QMouseEvent *event)
{
    const QPointF position = event->position();
    if (m_drag == Drag::RubberBand) {
        if ((position - m_pressPosition).manhattanLength() >= kDragThreshold) {
            m_rubberBand->setGeometry(QRectF(m_pressPosition, position).normalized().toRect());
            m_rubberBand->show();
        }
    } else if (m_drag == Drag::Pan) {
        keepUnder(m_grabbed, position);
    } else {
        const PickedPoint point = pointAt(position);
        showMarker(point.isValid() ? point : m_selected);
        const QString text =
            point.isValid() ? m_curves[point.curve].text(point.index) : barTextAt(position);
        if (text.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(event->globalPosition().toPoint(), text, this);
    }
    m_lastPosition = position;
    event->accept();
}

void ExplorableChartView::mouseReleaseEvent(QMouseEvent *event)
{
    const QPointF position = event->position();
    if (m_drag == Drag::RubberBand && event->button() == Qt::LeftButton) {
        m_drag = Drag::None;
        if (m_rubberBand->isVisible()) {
            m_rubberBand->hide();
            zoomToRectangle(QRectF(m_pressPosition, position));
        } else if (const PickedPoint point = pointAt(position); point.isValid()) {
            selectPoint(point.curve, point.index);
        }
    } else if (m_drag == Drag::Pan && event->button() != Qt::LeftButton) {
        m_drag = Drag::None;
        m_grabbed.clear();
        viewport()->unsetCursor();
    }
    event->accept();
}

void ExplorableChartView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        resetView();
    event->accept();
}

void ExplorableChartView::keyPressEvent(QKeyEvent *event)
{
    const QRectF plot = chart()->plotArea();
    const QPointF centre = toViewport(plot.center());
    const double dx = plot.width() / 10, dy = plot.height() / 10;
    switch (event->key()) {
    case Qt::Key_Left:
        pan({dx, 0});
        break;
    case Qt::Key_Right:
        pan({-dx, 0});
        break;
    case Qt::Key_Up:
        pan({0, dy});
        break;
    case Qt::Key_Down:
        pan({0, -dy});
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomAt(centre, kZoomStep);
        break;
    case Qt::Key_Minus:
        zoomAt(centre, 1 / kZoomStep);
        break;
    case Qt::Key_Home:
        resetView();
        break;
    default:
        QChartView::keyPressEvent(event);
        return;
    }
    event->accept();
}

void ExplorableChartView::contextMenuEvent(QContextMenuEvent *event)
{
    // The right button pans; no menu of a parent widget opens under it.
    event->accept();
}

void ExplorableChartView::leaveEvent(QEvent *event)
{
    showMarker(m_selected);
    QToolTip::hideText();
    QChartView::leaveEvent(event);
}
