// The explorable chart view: wheel and rubber-band zoom, pan, reset, pointer text, point picking.
#include "chartutil.h"
#include "explorablechartview.h"

#include <QApplication>
#include <QChart>
#include <QLineSeries>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QValueAxis>
#include <QWheelEvent>

#include <memory>

class TestExplorableChartView : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void wheelZoomsAboutThePointer_data();
    void wheelZoomsAboutThePointer();
    void rubberBandZoomsToTheRectangle();
    void dragAndArrowKeysPan();
    void doubleClickResetsToTheTabsRange();
    void clickSelectsNearestPointWithinFewPixels_data();
    void clickSelectsNearestPointWithinFewPixels();
    void lineHitBetweenDistantPointsSelectsNearerEnd();
    void pointerFindsPointsLeftOutOfTheDrawing();
    void zoomRedrawsLongCurveFromFullData();
    void pointerShowsPointText();

private:
    /// A chart of m_values (point i at x = i), shown at 600 x 300 with its axes fitted.
    void showCurve(std::vector<double> values);
    QWidget *viewport() const { return m_view->viewport(); }
    /// The viewport pixel of value (x, y).
    QPoint pixelOf(double x, double y) const;
    QPointF valueAt(const QPoint &pixel) const;
    /// Where `pixel` lies in the plot area, 0..1 from the left and from the bottom.
    QPointF fractionAt(const QPoint &pixel) const;
    /// Where `value` lies in the axes' ranges, 0..1 from their minimum.
    QPointF fractionOf(const QPointF &value) const;
    QValueAxis *axis(Qt::Orientation orientation) const;
    void wheel(const QPoint &pixel, int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    std::unique_ptr<ExplorableChartView> m_view;
    QLineSeries *m_series = nullptr;
    std::vector<double> m_values;
};

void TestExplorableChartView::init()
{
    m_view.reset(CreateChartView(nullptr, QStringLiteral("Chart"), {0, 0, 600, 300},
                                 QStringLiteral("Curve")));
    m_series = AddLineSeries(m_view.get(), QStringLiteral("Series"));
    m_view->addCurve(
        m_series, [this]() -> const std::vector<double> & { return m_values; },
        [this](int i) { return QStringLiteral("point %1: %2").arg(i).arg(m_values[size_t(i)]); });
}

void TestExplorableChartView::cleanup()
{
    m_view.reset();
    m_values.clear();
}

void TestExplorableChartView::showCurve(std::vector<double> values)
{
    m_values = std::move(values);
    SetSeriesPoints(m_series, m_values);
    FitAxes(m_view.get());
    m_view->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_view.get()));
    QApplication::processEvents();
    QVERIFY(m_view->chart()->plotArea().width() > 300);
}

QValueAxis *TestExplorableChartView::axis(Qt::Orientation orientation) const
{
    return qobject_cast<QValueAxis *>(m_view->chart()->axes(orientation).constFirst());
}

QPoint TestExplorableChartView::pixelOf(double x, double y) const
{
    const QPointF chartPosition = m_view->chart()->mapToPosition(QPointF(x, y), m_series);
    return m_view->mapFromScene(m_view->chart()->mapToScene(chartPosition));
}

QPointF TestExplorableChartView::valueAt(const QPoint &pixel) const
{
    return m_view->chart()->mapToValue(m_view->chart()->mapFromScene(m_view->mapToScene(pixel)),
                                       m_series);
}

QPointF TestExplorableChartView::fractionAt(const QPoint &pixel) const
{
    const QPointF p = m_view->chart()->mapFromScene(m_view->mapToScene(pixel));
    const QRectF plot = m_view->chart()->plotArea();
    return {(p.x() - plot.left()) / plot.width(), (plot.bottom() - p.y()) / plot.height()};
}

QPointF TestExplorableChartView::fractionOf(const QPointF &value) const
{
    const QValueAxis *x = axis(Qt::Horizontal), *y = axis(Qt::Vertical);
    return {(value.x() - x->min()) / (x->max() - x->min()),
            (value.y() - y->min()) / (y->max() - y->min())};
}

void TestExplorableChartView::wheel(const QPoint &pixel, int delta, Qt::KeyboardModifiers modifiers)
{
    QWheelEvent event(pixel, viewport()->mapToGlobal(pixel), QPoint(), QPoint(0, delta),
                      Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport(), &event);
}

void TestExplorableChartView::wheelZoomsAboutThePointer_data()
{
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("zoomsX");
    QTest::addColumn<bool>("zoomsY");
    QTest::newRow("both axes") << int(Qt::NoModifier) << true << true;
    QTest::newRow("shift: x only") << int(Qt::ShiftModifier) << true << false;
    QTest::newRow("ctrl: y only") << int(Qt::ControlModifier) << false << true;
}

void TestExplorableChartView::wheelZoomsAboutThePointer()
{
    QFETCH(int, modifiers);
    QFETCH(bool, zoomsX);
    QFETCH(bool, zoomsY);
    showCurve({0, 100, 50, 200, 150, 1000, 300, 20, 80, 40});
    const double spanX = axis(Qt::Horizontal)->max() - axis(Qt::Horizontal)->min();
    const double spanY = axis(Qt::Vertical)->max() - axis(Qt::Vertical)->min();
    const QPoint pointer = pixelOf(3, 400);
    const QPointF under = valueAt(pointer);

    wheel(pointer, 120, Qt::KeyboardModifiers(modifiers));
    QVERIFY(m_view->isExplored());
    const double newSpanX = axis(Qt::Horizontal)->max() - axis(Qt::Horizontal)->min();
    const double newSpanY = axis(Qt::Vertical)->max() - axis(Qt::Vertical)->min();
    QCOMPARE(newSpanX, zoomsX ? spanX / ExplorableChartView::kZoomStep : spanX);
    QCOMPARE(newSpanY, zoomsY ? spanY / ExplorableChartView::kZoomStep : spanY);
    // The value under the pointer stays under it.
    const QPointF at = fractionAt(pointer), after = fractionOf(under);
    QVERIFY(std::abs(after.x() - at.x()) < 1e-9);
    QVERIFY(std::abs(after.y() - at.y()) < 1e-9);

    // Turning the wheel back zooms out again.
    wheel(pointer, -120, Qt::KeyboardModifiers(modifiers));
    QVERIFY(std::abs(axis(Qt::Horizontal)->max() - axis(Qt::Horizontal)->min() - spanX) < 1e-9);
}

void TestExplorableChartView::rubberBandZoomsToTheRectangle()
{
    showCurve({0, 100, 50, 200, 150, 1000, 300, 20, 80, 40});
    const QPoint from = pixelOf(2, 600);
    const QPoint to = pixelOf(6, 100);
    const QPointF fromValue = valueAt(from), toValue = valueAt(to);
    QTest::mousePress(viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(viewport(), (from + to) / 2);
    QTest::mouseMove(viewport(), to);
    QTest::mouseRelease(viewport(), Qt::LeftButton, {}, to);
    QVERIFY(std::abs(axis(Qt::Horizontal)->min() - fromValue.x()) < 1e-9);
    QVERIFY(std::abs(axis(Qt::Horizontal)->max() - toValue.x()) < 1e-9);
    QVERIFY(std::abs(axis(Qt::Vertical)->min() - toValue.y()) < 1e-6);
    QVERIFY(std::abs(axis(Qt::Vertical)->max() - fromValue.y()) < 1e-6);
}

void TestExplorableChartView::dragAndArrowKeysPan()
{
    showCurve({0, 100, 50, 200, 150, 1000, 300, 20, 80, 40});
    const double minX = axis(Qt::Horizontal)->min(), maxX = axis(Qt::Horizontal)->max();
    const double minY = axis(Qt::Vertical)->min();
    const QPoint start = pixelOf(5, 500);
    const QPointF grabbed = valueAt(start);
    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        QTest::mousePress(viewport(), button, {}, start);
        QTest::mouseMove(viewport(), start + QPoint(30, 10));
        QTest::mouseMove(viewport(), start + QPoint(60, -20));
        QTest::mouseRelease(viewport(), button, {}, start + QPoint(60, -20));
        // The value that was under the pointer moved with it; the spans stay.
        const QPointF at = fractionAt(start + QPoint(60, -20)), now = fractionOf(grabbed);
        QVERIFY(std::abs(now.x() - at.x()) < 1e-9);
        QVERIFY(std::abs(now.y() - at.y()) < 1e-9);
        QVERIFY(std::abs(axis(Qt::Horizontal)->max() - axis(Qt::Horizontal)->min() -
                         (maxX - minX)) < 1e-9);
        m_view->resetView();
        QCOMPARE(axis(Qt::Horizontal)->min(), minX);
    }

    m_view->setFocus();
    QTest::keyClick(m_view.get(), Qt::Key_Right);
    QVERIFY(axis(Qt::Horizontal)->min() > minX);
    QCOMPARE(axis(Qt::Vertical)->min(), minY);
    QTest::keyClick(m_view.get(), Qt::Key_Up);
    QVERIFY(axis(Qt::Vertical)->min() > minY);
    QTest::keyClick(m_view.get(), Qt::Key_Home);
    QCOMPARE(axis(Qt::Horizontal)->min(), minX);
    QCOMPARE(axis(Qt::Vertical)->min(), minY);
}

void TestExplorableChartView::doubleClickResetsToTheTabsRange()
{
    showCurve({0, 100, 50, 200, 150, 1000, 300, 20, 80, 40});
    const double minX = axis(Qt::Horizontal)->min(), maxX = axis(Qt::Horizontal)->max();
    const double minY = axis(Qt::Vertical)->min(), maxY = axis(Qt::Vertical)->max();
    const QPoint centre =
        m_view->mapFromScene(m_view->chart()->mapToScene(m_view->chart()->plotArea().center()));
    wheel(centre, 240);
    QTest::mousePress(viewport(), Qt::RightButton, {}, centre);
    QTest::mouseMove(viewport(), centre + QPoint(40, 40));
    QTest::mouseRelease(viewport(), Qt::RightButton, {}, centre + QPoint(40, 40));
    QVERIFY(axis(Qt::Horizontal)->min() != minX);

    QTest::mouseDClick(viewport(), Qt::LeftButton, {}, centre);
    QVERIFY(!m_view->isExplored());
    QCOMPARE(axis(Qt::Horizontal)->min(), minX);
    QCOMPARE(axis(Qt::Horizontal)->max(), maxX);
    QCOMPARE(axis(Qt::Vertical)->min(), minY);
    QCOMPARE(axis(Qt::Vertical)->max(), maxY);

    // New figures while zoomed in: their range is where a reset goes back to.
    wheel(centre, 120);
    m_values = {0, 5000, 10};
    SetSeriesPoints(m_series, m_values);
    FitAxes(m_view.get());
    const double newMaxY = axis(Qt::Vertical)->max();
    QVERIFY(newMaxY >= 5000);
    QVERIFY(!m_view->isExplored());
    wheel(centre, 120);
    QTest::mouseDClick(viewport(), Qt::LeftButton, {}, centre);
    QCOMPARE(axis(Qt::Vertical)->max(), newMaxY);
}

void TestExplorableChartView::clickSelectsNearestPointWithinFewPixels_data()
{
    QTest::addColumn<QPoint>("offset");
    QTest::addColumn<int>("selected");
    QTest::newRow("on the point") << QPoint(0, 0) << 4;
    QTest::newRow("3 px right, 2 px up") << QPoint(3, -2) << 4;
    QTest::newRow("5 px below") << QPoint(0, 5) << 4;
    QTest::newRow("12 px below, off the line") << QPoint(0, 12) << -1;
    QTest::newRow("9 px left and below, off the line") << QPoint(-9, 9) << -1;
}

void TestExplorableChartView::clickSelectsNearestPointWithinFewPixels()
{
    QFETCH(QPoint, offset);
    QFETCH(int, selected);
    // A zigzag: each point is a sharp peak or trough, far from its neighbours' lines.
    std::vector<double> zigzag;
    for (int i = 0; i < 12; ++i)
        zigzag.push_back(i % 2 ? 100 : 0);
    showCurve(zigzag);
    QSignalSpy spy(m_view.get(), &ExplorableChartView::pointSelected);
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, pixelOf(4, 0) + offset);
    if (selected < 0) {
        QCOMPARE(spy.count(), 0);
        QVERIFY(!m_view->selectedPoint().isValid());
    } else {
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 0);
        QCOMPARE(spy.at(0).at(1).toInt(), selected);
        QCOMPARE(m_view->selectedPoint().index, selected);
    }
    // A click never zooms.
    QVERIFY(!m_view->isExplored());
}

void TestExplorableChartView::lineHitBetweenDistantPointsSelectsNearerEnd()
{
    showCurve({0, 0, 100, 100});
    QSignalSpy spy(m_view.get(), &ExplorableChartView::pointSelected);
    // On the rising segment from point 1 to point 2, a third of the way: far from both ends.
    const QPoint a = pixelOf(1, 0), b = pixelOf(2, 100);
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, a + (b - a) / 3 + QPoint(1, 0));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(1).toInt(), 1);
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, a + (b - a) * 3 / 4);
    QCOMPARE(spy.at(1).at(1).toInt(), 2);

    // The series' own click signal (a hit on the line, in values) picks the point nearest by x.
    Q_EMIT m_series->clicked(QPointF(2.6, 100));
    QCOMPARE(spy.at(2).at(1).toInt(), 3);
}

void TestExplorableChartView::pointerFindsPointsLeftOutOfTheDrawing()
{
    // 10,000 points: drawn thinned to the first, lowest, highest and last of each 10. In the slice
    // 5000..5009 only 5000, 5003 and 5009 are drawn; point 5005 (50) is not.
    std::vector<double> values(10000, 0.0);
    values[5003] = 100;
    values[5005] = 50;
    showCurve(values);
    QList<double> drawnX;
    for (const QPointF &p : m_series->points())
        drawnX.append(p.x());
    QVERIFY(drawnX.contains(5003));
    QVERIFY(!drawnX.contains(5005));

    const QPoint pixel = pixelOf(5005, 50);
    QCOMPARE(m_view->pointAt(pixel).index, 5005);
    QCOMPARE(m_view->textAt(pixel), QStringLiteral("point 5005: 50"));
    QSignalSpy spy(m_view.get(), &ExplorableChartView::pointSelected);
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, pixel + QPoint(0, 2));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(1).toInt(), 5005);
}

void TestExplorableChartView::zoomRedrawsLongCurveFromFullData()
{
    std::vector<double> values;
    for (int i = 0; i < 100000; ++i)
        values.push_back(i % 7);
    showCurve(values);
    QVERIFY(m_series->count() <= int(kMaxDrawnPoints));
    QVERIFY(m_series->count() < 100000);

    // Zoomed in to 40 points, the curve is drawn point for point from the full data.
    m_view->zoomAt(pixelOf(50000, 3), 2500, Qt::Horizontal);
    QVERIFY(axis(Qt::Horizontal)->max() - axis(Qt::Horizontal)->min() < 41);
    const int first = int(std::floor(axis(Qt::Horizontal)->min())) - 1;
    const int last = int(std::ceil(axis(Qt::Horizontal)->max())) + 1;
    QCOMPARE(m_series->count(), last - first + 1);
    for (const QPointF &p : m_series->points())
        QCOMPARE(p.y(), double(int(p.x()) % 7));

    // Back at the start, the whole curve is drawn thinned again.
    m_view->resetView();
    QVERIFY(m_series->count() <= int(kMaxDrawnPoints));
    QCOMPARE(m_series->points().constFirst().x(), 0.0);
    QCOMPARE(m_series->points().constLast().x(), 99999.0);
}

void TestExplorableChartView::pointerShowsPointText()
{
    std::vector<double> zigzag;
    for (int i = 0; i < 12; ++i)
        zigzag.push_back(i % 2 ? 100 : 0);
    showCurve(zigzag);
    QTest::mouseMove(viewport(), pixelOf(7, 100) + QPoint(2, 2));
    QTRY_COMPARE(QToolTip::text(), QStringLiteral("point 7: 100"));
    // Away from every point the text goes.
    QTest::mouseMove(viewport(), pixelOf(7, 50) + QPoint(0, 0));
    QCOMPARE(m_view->textAt(pixelOf(7, 50)), QString());
    QTRY_VERIFY(QToolTip::text().isEmpty());
}

QTEST_MAIN(TestExplorableChartView)
#include "tst_explorablechartview.moc"
