// Web links: the banner's gate on the import entry, the reload timer, the signals tab's buttons,
// the Help links, and the same wiring inside the main window.
#include "mainwindow.h"
#include "messages.h"
#include "pagesize.h"
#include "web/signalstab.h"
#include "web/siteaddresses.h"
#include "web/webconfig.h"
#include "web/weblinks.h"
#include "web/webpane.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
// A pane that records what it is asked and completes loads when the test says so.
class FakePane : public WebPane {
public:
    void navigate(const QUrl &url) override { m_navigated.append(url); }
    void refresh() override { ++m_refreshes; }
    void goBack() override { ++m_backs; }
    bool canGoBack() const override { return m_canGoBack; }
    QUrl url() const override { return m_navigated.isEmpty() ? QUrl() : m_navigated.last(); }

    void finishLoad(bool ok) { Q_EMIT documentComplete(ok); }
    void setHistory(bool canGoBack)
    {
        m_canGoBack = canGoBack;
        Q_EMIT historyChanged(canGoBack);
    }

    QList<QUrl> m_navigated;
    int m_refreshes = 0;
    int m_backs = 0;
    bool m_canGoBack = false;
};

constexpr int kLoadTimeout = 15000;

QUrl LocalPage(const QString &name)
{
    return QUrl::fromLocalFile(QStringLiteral(TEST_DATA_DIR "/web/") + name);
}

SiteAddresses TestAddresses()
{
    return {QUrl(QStringLiteral("https://site.example/tets_stat.html")),
            QUrl(QStringLiteral("https://site.example/reklam.html")),
            QUrl::fromLocalFile(QStringLiteral("/opt/veltrano/manual/index.html")),
            QUrl(QStringLiteral("https://forum.example/index.php?showtopic=7"))};
}

// The File menu's entries as a user sees them.
QStringList VisibleFileEntries(MainWindow &window)
{
    QStringList entries;
    const QList<QAction *> menus = window.menuBar()->actions();
    for (QAction *action : menus[0]->menu()->actions())
        if (action->isVisible())
            entries.append(action->objectName());
    return entries;
}
} // namespace

class TestWebLinks : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void bannerLoadRevealsImportEntry_data();
    void bannerLoadRevealsImportEntry();
    void timerReloadsSignalsOnlyOnceEntryVisible();
    void signalsTabButtons();
    void helpLinksOpenTheirAddresses_data();
    void helpLinksOpenTheirAddresses();
    void builtAddresses();
    void mainWindowGatesImportUntilBannerLoads();
    void mainWindowHelpKeys();
    void manualBesideProgramNamesEveryTab();
};

void TestWebLinks::initTestCase()
{
    SetErrorSink([](const QString &, const QString &text) { QFAIL(qPrintable(text)); });
}

void TestWebLinks::bannerLoadRevealsImportEntry_data()
{
    QTest::addColumn<QString>("bannerFile");
    QTest::newRow("banner loaded") << QStringLiteral("banner.html");
    // Offline: a banner that fails still reveals the entry.
    QTest::newRow("banner failed") << QStringLiteral("missing.html");
}

void TestWebLinks::bannerLoadRevealsImportEntry()
{
    // The panes of this build (web views offscreen, or placeholders) on local pages.
    QFETCH(QString, bannerFile);
    SiteAddresses addresses = TestAddresses();
    addresses.signalsPage = LocalPage(QStringLiteral("signals.html"));
    addresses.bannerPage = LocalPage(bannerFile);
    QWidget window;
    WebPane *banner = WebPane::create(&window);
    WebPane *signalsPane = WebPane::create(&window);
    window.show();
    QAction entry(QStringLiteral("Import(csv)"));
    WebLinks links(addresses, banner, signalsPane);
    links.gateImportEntry(&entry);
    QSignalSpy bannerLoads(banner, &WebPane::documentComplete);
    links.start();
    QVERIFY(!entry.isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(bannerLoads.size(), 1, kLoadTimeout);
#if VELTRANO_WEBENGINE
    QCOMPARE(bannerLoads.first().first().toBool(), bannerFile == QLatin1String("banner.html"));
#endif
    QVERIFY(entry.isVisible());
    QCOMPARE(banner->url(), addresses.bannerPage);
    QTRY_COMPARE_WITH_TIMEOUT(signalsPane->url(), addresses.signalsPage, kLoadTimeout);
}

void TestWebLinks::timerReloadsSignalsOnlyOnceEntryVisible()
{
    // A banner that has not completed yet, and the real signals pane on a local page.
    FakePane banner;
    QWidget window;
    WebPane *signalsPane = WebPane::create(&window);
    window.show();
    SiteAddresses addresses = TestAddresses();
    addresses.signalsPage = LocalPage(QStringLiteral("signals.html"));
    QAction entry(QStringLiteral("Import(csv)"));
    WebLinks links(addresses, &banner, signalsPane);
    QCOMPARE(links.reloadTimer()->objectName(), QStringLiteral("Timer1"));
    QCOMPARE(links.reloadTimer()->interval(), 600000);
    links.gateImportEntry(&entry);
    links.setReloadInterval(50);
    QSignalSpy signalsLoads(signalsPane, &WebPane::documentComplete);
    links.start();
    QVERIFY(links.reloadTimer()->isActive());

    // The signals page loads once; it is not the gate, and ticks before the banner do nothing.
    QTRY_COMPARE_WITH_TIMEOUT(signalsLoads.size(), 1, kLoadTimeout);
    QTest::qWait(300);
    QCOMPARE(signalsLoads.size(), 1);
    QVERIFY(!entry.isVisible());

    banner.finishLoad(true);
    QVERIFY(entry.isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(signalsLoads.size() >= 3, kLoadTimeout);
    QCOMPARE(signalsPane->url(), addresses.signalsPage); // reloaded, not navigated elsewhere
    QCOMPARE(banner.m_refreshes, 0);
    QCOMPARE(banner.m_navigated.size(), 1);
}

void TestWebLinks::signalsTabButtons()
{
    auto *pane = new FakePane;
    SignalsTab tab(pane);
    tab.resize(kPageSize);
    tab.show();
    QCOMPARE(pane->objectName(), QStringLiteral("wb1"));
    QCOMPARE(pane->geometry(), QRect(QPoint(0, 0), kPageSize));
    QPushButton *refresh = tab.findChild<QPushButton *>(QStringLiteral("Button5"));
    QPushButton *back = tab.findChild<QPushButton *>(QStringLiteral("Button6"));
    QCOMPARE(refresh->text(), QStringLiteral("обновить"));
    QCOMPARE(back->text(), QStringLiteral("назад"));
    QCOMPARE(refresh->geometry(), QRect(568, 497, 75, 25));
    QCOMPARE(back->geometry(), QRect(648, 497, 75, 25));
    // Over the pane, not under it, also in a bigger window.
    QCOMPARE(tab.childAt(600, 505), refresh);
    tab.resize(kPageSize + QSize(200, 100));
    QCOMPARE(pane->size(), kPageSize + QSize(200, 100));
    QCOMPARE(refresh->geometry(), QRect(568, 597, 75, 25));
    QCOMPARE(tab.childAt(600, 605), refresh);

    QVERIFY(refresh->isEnabled());
    QTest::mouseClick(refresh, Qt::LeftButton);
    QCOMPARE(pane->m_refreshes, 1);

    // "назад" only while the pane has an earlier page.
    QVERIFY(!back->isEnabled());
    pane->setHistory(true);
    QVERIFY(back->isEnabled());
    QTest::mouseClick(back, Qt::LeftButton);
    QCOMPARE(pane->m_backs, 1);
    pane->setHistory(false);
    QVERIFY(!back->isEnabled());
}

void TestWebLinks::helpLinksOpenTheirAddresses_data()
{
    QTest::addColumn<bool>("forum");
    QTest::addColumn<QUrl>("expected");
    QTest::newRow("HELP") << false << TestAddresses().helpPage;
    QTest::newRow("Forum") << true << TestAddresses().forumTopic;
}

void TestWebLinks::helpLinksOpenTheirAddresses()
{
    QFETCH(bool, forum);
    QFETCH(QUrl, expected);
    FakePane banner, signalsPane;
    QAction entry(QStringLiteral("Import(csv)"));
    WebLinks links(TestAddresses(), &banner, &signalsPane);
    links.gateImportEntry(&entry);
    links.start();
    QList<QUrl> opened;
    links.setUrlOpener([&](const QUrl &url) { opened.append(url); });
    forum ? links.openForum() : links.openHelp();
    QCOMPARE(opened, QList<QUrl>{expected});
    // Nothing in the application changes.
    QVERIFY(!entry.isVisible());
    QCOMPARE(banner.m_navigated.size() + signalsPane.m_navigated.size(), 2);
    QCOMPARE(banner.m_refreshes + signalsPane.m_refreshes, 0);
}

void TestWebLinks::builtAddresses()
{
    QTemporaryDir dir;
    const QString bin = dir.filePath(QStringLiteral("bin"));
    QVERIFY(QDir().mkpath(bin));
    const QString site = QStringLiteral(VELTRANO_SITE_URL);

    // Without the manual beside the program, HELP falls back to the site.
    SiteAddresses addresses = SiteAddresses::built(bin);
    QCOMPARE(addresses.signalsPage.toString(), site + QStringLiteral("tets_stat.html"));
    QCOMPARE(addresses.bannerPage.toString(), site + QStringLiteral("reklam.html"));
    QCOMPARE(addresses.helpPage.toString(), site + QStringLiteral("help.html"));
    QVERIFY(addresses.forumTopic.isValid());
    QCOMPARE(addresses.forumTopic.path().section(QLatin1Char('/'), -1),
             QStringLiteral("index.php"));
    QVERIFY(addresses.forumTopic.query().startsWith(QStringLiteral("showtopic=")));

    // With it, the local file.
    const QString manual = SiteAddresses::manualFile(bin);
    QVERIFY2(manual.startsWith(dir.path() + QLatin1Char('/')), qPrintable(manual));
    QVERIFY(QDir().mkpath(QFileInfo(manual).absolutePath()));
    QFile file(manual);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    addresses = SiteAddresses::built(bin);
    QCOMPARE(addresses.helpPage, QUrl::fromLocalFile(manual));
}

void TestWebLinks::mainWindowGatesImportUntilBannerLoads()
{
    // The real panes of this build on the built address: a web view that fails (reserved
    // domain, or no network) or a placeholder; either counts as a completed load. Until the
    // event loop runs, neither can have reported.
    MainWindow window;
    QAction *open = window.findChild<QAction *>(QStringLiteral("Open1"));
    QVERIFY(!VisibleFileEntries(window).contains(QStringLiteral("Open1")));
    QVERIFY(VisibleFileEntries(window).contains(QStringLiteral("Exit1")));
    QVERIFY(window.findChild<WebPane *>(QStringLiteral("wb2")));
    QVERIFY(window.findChild<WebPane *>(QStringLiteral("wb1")));

    // F2 imports while the entry is hidden.
    window.show();
    QApplication::setActiveWindow(&window);
    int asked = 0;
    window.setFileChooser([&] {
        ++asked;
        return QString();
    });
    QTest::keyClick(&window, Qt::Key_F2);
    QCOMPARE(asked, 1);
    QVERIFY(!open->isVisible());

    QTRY_VERIFY_WITH_TIMEOUT(open->isVisible(), kLoadTimeout);
    QCOMPARE(VisibleFileEntries(window).first(), QStringLiteral("Open1"));
    QTest::keyClick(&window, Qt::Key_F2);
    QCOMPARE(asked, 2);
}

void TestWebLinks::mainWindowHelpKeys()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QList<QUrl> opened;
    window.webLinks()->setUrlOpener([&](const QUrl &url) { opened.append(url); });
    QTest::keyClick(&window, Qt::Key_F1);
    window.findChild<QAction *>(QStringLiteral("Forum1"))->trigger();
    QCOMPARE(opened, (QList<QUrl>{window.webLinks()->addresses().helpPage,
                                  QUrl(QStringLiteral(VELTRANO_FORUM_TOPIC))}));
}

void TestWebLinks::manualBesideProgramNamesEveryTab()
{
    // The build puts the manual where the program looks for it, with its pictures.
    const QString path = SiteAddresses::manualFile(QStringLiteral(VELTRANO_APP_DIR));
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(path));
    const QString manual = QString::fromUtf8(file.readAll());
    const QRegularExpression picture(QStringLiteral("src=\"([^\"]+)\""));
    int pictures = 0;
    for (const QRegularExpressionMatch &match : picture.globalMatch(manual)) {
        ++pictures;
        QVERIFY2(QFileInfo::exists(QFileInfo(path).dir().filePath(match.captured(1))),
                 qPrintable(match.captured(1)));
    }
    QVERIFY(pictures > 0);

    // Every tab of the window has its section.
    MainWindow window;
    auto *pages = window.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    for (int i = 0; i < pages->count(); ++i)
        QVERIFY2(manual.contains(QStringLiteral("«%1»").arg(pages->tabText(i))),
                 qPrintable(pages->tabText(i)));
}

QTEST_MAIN(TestWebLinks)
#include "tst_weblinks.moc"
