#include <QTest>
class TestReport : public QObject { Q_OBJECT };
QTEST_GUILESS_MAIN(TestReport)
#include "tst_report.moc"
