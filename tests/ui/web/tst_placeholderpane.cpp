// Placeholder pane of the build without a web engine: every load completes at once.
#include "web/placeholderpane.h"

#include <QSignalSpy>
#include <QTest>

class TestPlaceholderPane : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void navigateReportsCompletedLoadFromEventLoop();
    void refreshReportsAgainAndBackDoesNothing();
};

void TestPlaceholderPane::navigateReportsCompletedLoadFromEventLoop()
{
    PlaceholderPane pane;
    QSignalSpy complete(&pane, &WebPane::documentComplete);
    const QUrl url(QStringLiteral("https://veltrano.example/reklam.html"));
    pane.navigate(url);
    // Not during navigate(): a caller that connects right after it still sees the event.
    QCOMPARE(complete.size(), 0);
    QTRY_COMPARE(complete.size(), 1);
    QCOMPARE(complete.first().first().toBool(), true);
    QCOMPARE(pane.url(), url);
    QVERIFY(pane.text().contains(url.toString()));
}

void TestPlaceholderPane::refreshReportsAgainAndBackDoesNothing()
{
    PlaceholderPane pane;
    QSignalSpy complete(&pane, &WebPane::documentComplete);
    pane.navigate(QUrl(QStringLiteral("https://veltrano.example/tets_stat.html")));
    QTRY_COMPARE(complete.size(), 1);
    pane.refresh();
    QTRY_COMPARE(complete.size(), 2);
    QVERIFY(!pane.canGoBack());
    pane.goBack();
    QTest::qWait(20);
    QCOMPARE(complete.size(), 2);
}

QTEST_MAIN(TestPlaceholderPane)
#include "tst_placeholderpane.moc"
