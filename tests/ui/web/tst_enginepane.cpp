// Engine pane, offscreen with pages from local files: loads, failures, reload and history.
#include "web/enginepane.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

class TestEnginePane : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadsLocalPage();
    void failedLoadShowsRussianPage();
    void refreshRetriesFailedAddress();
    void backReturnsToPreviousPage();

private:
    static QUrl page(const char *name);
    static QString pageText(EnginePane &pane);
    static QVariant evaluate(EnginePane &pane, const QString &script);
};

namespace {
constexpr int kLoadTimeout = 15000;
}

QUrl TestEnginePane::page(const char *name)
{
    return QUrl::fromLocalFile(QStringLiteral(TEST_DATA_DIR "/web/") + QLatin1String(name));
}

QString TestEnginePane::pageText(EnginePane &pane)
{
    QString text;
    bool done = false;
    pane.view()->page()->toPlainText([&](const QString &t) {
        text = t;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, kLoadTimeout))
        qWarning("page text did not arrive");
    return text;
}

QVariant TestEnginePane::evaluate(EnginePane &pane, const QString &script)
{
    QVariant result;
    bool done = false;
    pane.view()->page()->runJavaScript(script, [&](const QVariant &v) {
        result = v;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, kLoadTimeout))
        qWarning("script result did not arrive");
    return result;
}

void TestEnginePane::loadsLocalPage()
{
    EnginePane pane;
    pane.resize(400, 300);
    pane.show();
    QSignalSpy complete(&pane, &WebPane::documentComplete);
    pane.navigate(page("signals.html"));
    QTRY_COMPARE_WITH_TIMEOUT(complete.size(), 1, kLoadTimeout);
    QCOMPARE(complete.first().first().toBool(), true);
    QCOMPARE(pane.url(), page("signals.html"));
    QVERIFY(pageText(pane).contains(QStringLiteral("Сигналы для проверки")));
    QVERIFY(!pane.canGoBack());
}

void TestEnginePane::failedLoadShowsRussianPage()
{
    EnginePane pane;
    pane.resize(400, 300);
    pane.show();
    QSignalSpy complete(&pane, &WebPane::documentComplete);
    const QUrl missing = page("missing.html");
    pane.navigate(missing);
    QTRY_COMPARE_WITH_TIMEOUT(complete.size(), 1, kLoadTimeout);
    QCOMPARE(complete.first().first().toBool(), false);
    // Our page, not the engine's English one; the address and a link to try it again.
    QTRY_VERIFY_WITH_TIMEOUT(pageText(pane).contains(QStringLiteral("Страница недоступна")),
                             kLoadTimeout);
    const QString text = pageText(pane);
    QVERIFY2(text.contains(missing.toString()), qPrintable(text));
    QVERIFY2(!text.contains(QStringLiteral("ERR_")), qPrintable(text));
    QCOMPARE(evaluate(pane, QStringLiteral("document.getElementById('retry').href")).toString(),
             missing.toString());
    QCOMPARE(pane.url(), missing);
    QVERIFY(!pane.canGoBack());
}

void TestEnginePane::refreshRetriesFailedAddress()
{
    // The page appears after a failed load (the site comes back): refresh loads it.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("late.html"));
    EnginePane pane;
    pane.resize(400, 300);
    pane.show();
    QSignalSpy complete(&pane, &WebPane::documentComplete);
    pane.navigate(QUrl::fromLocalFile(path));
    QTRY_COMPARE_WITH_TIMEOUT(complete.size(), 1, kLoadTimeout);
    QCOMPARE(complete.at(0).first().toBool(), false);
    QTRY_VERIFY_WITH_TIMEOUT(pageText(pane).contains(QStringLiteral("Страница недоступна")),
                             kLoadTimeout);

    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<html><body><p>Снова на месте</p></body></html>");
    file.close();
    pane.refresh();
    QTRY_COMPARE_WITH_TIMEOUT(complete.size(), 2, kLoadTimeout);
    QCOMPARE(complete.at(1).first().toBool(), true);
    QVERIFY(pageText(pane).contains(QStringLiteral("Снова на месте")));
    // A retry replaces the failed entry instead of adding one.
    QVERIFY(!pane.canGoBack());

    // A plain reload of a page that loads: one more completed load, same page.
    pane.refresh();
    QTRY_COMPARE_WITH_TIMEOUT(complete.size(), 3, kLoadTimeout);
    QCOMPARE(complete.at(2).first().toBool(), true);
    QCOMPARE(pane.url(), QUrl::fromLocalFile(path));
}

void TestEnginePane::backReturnsToPreviousPage()
{
    EnginePane pane;
    pane.resize(400, 300);
    pane.show();
    QSignalSpy complete(&pane, &WebPane::documentComplete);
    QSignalSpy history(&pane, &WebPane::historyChanged);
    pane.navigate(page("signals.html"));
    QTRY_COMPARE_WITH_TIMEOUT(complete.size(), 1, kLoadTimeout);
    // No earlier page: nothing happens.
    pane.goBack();
    QTest::qWait(200);
    QCOMPARE(complete.size(), 1);

    // A second page makes a history.
    pane.navigate(page("history.html"));
    QTRY_COMPARE_WITH_TIMEOUT(complete.size(), 2, kLoadTimeout);
    QCOMPARE(pane.url(), page("history.html"));
    QVERIFY(pane.canGoBack());
    QCOMPARE(history.last().first().toBool(), true);

    pane.goBack();
    QTRY_COMPARE_WITH_TIMEOUT(complete.size(), 3, kLoadTimeout);
    QCOMPARE(pane.url(), page("signals.html"));
    QVERIFY(!pane.canGoBack());
    QCOMPARE(history.last().first().toBool(), false);
}

QTEST_MAIN(TestEnginePane)
#include "tst_enginepane.moc"
