// Main window layout, menu, import and order list wiring.
#include "mainwindow.h"

#include "aboutdialog.h"
#include "analysistab.h"
#include "anchorlayout.h"
#include "formats/semicolonformat.h"
#include "formats/statementimport.h"
#include "messages.h"
#include "orderlistmodel.h"
#include "outcomestab.h"
#include "pagesize.h"
#include "pairstab.h"
#include "quotechartpage.h"
#include "risktab.h"
#include "settingsfile.h"
#include "shadedcelldelegate.h"
#include "statement/parsenumber.h"
#include "statement/tradereadout.h"
#include "statisticstab.h"
#include "streakstab.h"
#include "summarytab.h"
#include "web/signalstab.h"
#include "web/weblinks.h"
#include "web/webpane.h"
#include "weekdaytab.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <atomic>
#include <memory>

namespace {
const QList<int> kOrderColumnWidths = {67, 64, 65, 64, 64, 64, 64, 64, 64, 64, 64, 53, 57, 64};
} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Veltrano V 1.0"));
    setAcceptDrops(true);
    // Compact tabs, so the nine captions fit in one row and the pages keep their laid-out height.
    setStyleSheet(QStringLiteral(
        "QTabBar::tab { background: #e4e4e4; border: 1px solid #b0b0b0; border-bottom: none;"
        " padding: 2px 4px; margin-right: 1px;"
        " border-top-left-radius: 3px; border-top-right-radius: 3px; }"
        "QTabBar::tab:selected { background: #fbfbfb; }"
        "QTabBar::tab:!selected { margin-top: 2px; }"
        "QTabBar::tab:hover { background: #f0f0f0; }"
        "QTabBar { font-size: 10px; }"));

    m_orders = new OrderListModel(SystemDecimalSeparator(), this);

    // The client area is laid out for 944 × 681; a bigger window gives the extra room to the pages.
    auto *client = new QWidget(this);
    auto *clientLayout = new AnchorLayout(client, QSize(944, 681));
    setCentralWidget(client);

    // The banner strip: the maker's banner page.
    WebPane *banner = WebPane::create(client);
    banner->setObjectName(QStringLiteral("wb2"));
    banner->setGeometry(1, -5, 942, 86);

    m_pages = new QTabWidget(client);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->setGeometry(-1, 87, 944, 601);

    auto *signalsPage = new SignalsTab;

    // The pages in their order; the analysis tabs also go into the list every import resets.
    m_pages->addTab(createOrdersTab(), QStringLiteral("Ордера"));
    auto addAnalysisTab = [this](AnalysisTab *tab) {
        m_pages->addTab(tab, tab->caption());
        m_analysisTabs.append(tab);
    };
    auto *statistics = new StatisticsTab(m_orders);
    addAnalysisTab(statistics);
    addAnalysisTab(new PairsTab(m_orders));
    addAnalysisTab(new WeekdayTab(m_orders));
    addAnalysisTab(new RiskTab(m_orders));
    m_pages->addTab(signalsPage, QStringLiteral("Торговые сигналы Он-лайн"));
    addAnalysisTab(new OutcomesTab(m_orders));
    addAnalysisTab(new StreaksTab(m_orders));
    addAnalysisTab(new SummaryTab(m_orders, &statistics->balanceField()));
    m_pages->setCurrentIndex(0);
    clientLayout->anchor(banner, AnchorLayout::StretchWidth);
    clientLayout->anchor(m_pages, AnchorLayout::Stretch);

    m_importStatus = new QLabel(this);
    m_importStatus->setObjectName(QStringLiteral("importStatus"));
    statusBar()->addWidget(m_importStatus, 1);
    statusBar()->setSizeGripEnabled(true);
    connect(m_orders, &OrderListModel::modifiedChanged, this, [this] { updateWindowTitle(); });

    m_web = new WebLinks(SiteAddresses::built(QCoreApplication::applicationDirPath()), banner,
                         signalsPage->pane(), this);
    createMenu();
    m_web->start();
    // The default size is the designed one and the smallest.
    setMinimumSize(sizeHint());
    resize(sizeHint());

    m_chooseFile = [this] {
        // The dialog starts where the last import came from.
        return QFileDialog::getOpenFileName(this, QStringLiteral("Import(csv)"),
                                            SettingsFile().importFolder(),
                                            QStringLiteral("csv (*.csv);;* (*)"));
    };
    m_chooseSaveFile = [this] {
        const QString start =
            m_statementPath.isEmpty() ? SettingsFile().importFolder() : m_statementPath;
        return QFileDialog::getSaveFileName(this, QStringLiteral("Сохранить как"), start,
                                            QStringLiteral("csv (*.csv);;* (*)"));
    };
    m_importer = [](const QString &path, const ImportOptions &options) {
        return ImportStatement(path, options);
    };
    m_askAboutUnsavedEdits = [this] {
        return QMessageBox::question(this, QStringLiteral("Veltrano"),
                                     QStringLiteral("Список ордеров изменён. Сохранить изменения?"),
                                     QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                     QMessageBox::Save);
    };
}

void MainWindow::createMenu()
{
    // "&" makes the menus open from the keyboard (Alt+F, Alt+H); F10 opens the first one.
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    // F2 belongs to the window, not to the menu item: it imports also while the item is hidden.
    QAction *open = file->addAction(QStringLiteral("Import(csv)\tF2"));
    open->setObjectName(QStringLiteral("Open1"));
    connect(open, &QAction::triggered, this, &MainWindow::openStatement);
    m_web->gateImportEntry(open); // shown once the banner has loaded
    auto *f2 = new QShortcut(QKeySequence(Qt::Key_F2), this);
    f2->setObjectName(QStringLiteral("Open1Shortcut"));
    connect(f2, &QShortcut::activated, this, &MainWindow::openStatement);
    QAction *saveAs = file->addAction(QStringLiteral("Сохранить как…"));
    saveAs->setObjectName(QStringLiteral("SaveAs1"));
    saveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    connect(saveAs, &QAction::triggered, this, &MainWindow::saveStatementAs);
    QAction *exit = file->addAction(QStringLiteral("Exit"));
    exit->setObjectName(QStringLiteral("Exit1"));
    // A text field or cell editor takes Ctrl+X for itself (cut); elsewhere it closes the program,
    // after asking about unsaved edits (closeEvent).
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    auto *f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(f10, &QShortcut::activated, this,
            [this, file] { menuBar()->setActiveAction(file->menuAction()); });
    QAction *site = help->addAction(QStringLiteral("HELP"));
    site->setObjectName(QStringLiteral("Sute1"));
    site->setShortcut(QKeySequence(Qt::Key_F1));
    connect(site, &QAction::triggered, m_web, &WebLinks::openHelp);
    QAction *forum = help->addAction(QStringLiteral("Forum"));
    forum->setObjectName(QStringLiteral("Forum1"));
    connect(forum, &QAction::triggered, m_web, &WebLinks::openForum);
    QAction *about = help->addAction(QStringLiteral("About"));
    about->setObjectName(QStringLiteral("About1"));
    connect(about, &QAction::triggered, this, [this] {
        AboutDialog dialog(this);
        dialog.exec();
    });
}

QWidget *MainWindow::createOrdersTab()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("TabSheet1"));
    auto *inner = new QTabWidget(page);
    inner->setObjectName(QStringLiteral("PageControl2"));
    inner->setGeometry(0, 0, 938, 574);
    (new AnchorLayout(page, kPageSize))->anchor(inner, AnchorLayout::Stretch);

    auto *list = new QWidget;
    list->setObjectName(QStringLiteral("TabSheet9"));
    m_orderList = new QTableView(list);
    m_orderList->setObjectName(QStringLiteral("st1"));
    m_orderList->setGeometry(-1, 2, 924, 529);
    m_orderList->setModel(m_orders);
    m_orderList->setItemDelegate(new ShadedCellDelegate(m_orderList));
    m_orderList->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_orderList->setEditTriggers(QAbstractItemView::DoubleClicked |
                                 QAbstractItemView::EditKeyPressed |
                                 QAbstractItemView::AnyKeyPressed);
    m_orderList->verticalHeader()->setDefaultSectionSize(20);
    m_orderList->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_orderList->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int c = 0; c < kOrderColumnWidths.size(); ++c)
        m_orderList->horizontalHeader()->resizeSection(c, kOrderColumnWidths[c]);
    connect(m_orderList->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) { showSelectedTrade(current); });
    (new AnchorLayout(list, kInnerPageSize))->anchor(m_orderList, AnchorLayout::Stretch);

    inner->addTab(list, QStringLiteral("Список"));
    m_chartPage = new QuoteChartPage(m_orders->decimalSeparator());
    inner->addTab(m_chartPage, QStringLiteral("На графике"));
    inner->setCurrentIndex(1);
    return page;
}

void MainWindow::calculateAll()
{
    for (AnalysisTab *tab : std::as_const(m_analysisTabs))
        if (tab->calculateButton()->isEnabled())
            tab->calculate();
}

void MainWindow::showTab(int index)
{
    m_pages->setCurrentIndex(index);
    if (index == 0) // the orders themselves, not the chart page
        m_pages->findChild<QTabWidget *>(QStringLiteral("PageControl2"))->setCurrentIndex(0);
}

void MainWindow::showSelectedTrade(const QModelIndex &current)
{
    if (current.isValid())
        m_chartPage->setSelectedTrade(SelectTrade(m_orders->table(), current.row() + 1));
}

void MainWindow::openStatement()
{
    if (m_importing)
        return;
    const QString path = m_chooseFile();
    if (!path.isEmpty())
        importStatementFile(path);
}

ImportResult MainWindow::runImport(const QString &path)
{
    // The worker writes how far it is and reads whether to stop; the dialog is updated here.
    struct Shared {
        std::atomic<qint64> done{0};
        std::atomic<qint64> total{0};
        std::atomic<bool> cancel{false};
    };
    auto shared = std::make_shared<Shared>();
    ImportOptions options;
    options.progress = [shared](qint64 done, qint64 total) {
        shared->total = total;
        shared->done = done;
        return !shared->cancel;
    };
    ImportResult result;
    QThread *worker = QThread::create(
        [&result, options, path, importer = m_importer] { result = importer(path, options); });

    QProgressDialog dialog(QStringLiteral("Импорт файла «%1»…").arg(QFileInfo(path).fileName()),
                           QStringLiteral("Отмена"), 0, 1000, this);
    dialog.setObjectName(QStringLiteral("importProgress"));
    dialog.setWindowTitle(QStringLiteral("Import(csv)"));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(500);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.setValue(0); // starts the half second after which the dialog shows
    connect(&dialog, &QProgressDialog::canceled, this, [shared] { shared->cancel = true; });
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&dialog, shared] {
        const qint64 total = shared->total;
        if (total > 0 && !shared->cancel)
            dialog.setValue(int(std::min<qint64>(999, shared->done * 1000 / total)));
    });
    poll.start(50);
    QEventLoop loop;
    connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec();
    worker->wait();
    delete worker;
    if (shared->cancel && !result.cancelled) {
        // Cancelled after the import's last look at the callback: dropped all the same.
        result = ImportResult();
        result.cancelled = true;
    }
    return result;
}

bool MainWindow::importStatementFile(const QString &path)
{
    if (m_importing)
        return false;
    m_importing = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QElapsedTimer clock;
    clock.start();
    ImportResult result = runImport(path);
    const qint64 milliseconds = clock.elapsed();
    QApplication::restoreOverrideCursor();
    m_importing = false;
    if (result.cancelled)
        return false;
    if (!result.table) {
        ShowError(this, QStringLiteral("Import(csv)"),
                  QStringLiteral("Не удалось прочитать файл «%1»: %2")
                      .arg(QDir::toNativeSeparators(path), result.error));
        return false;
    }
    // Asked only once the file turned out to be a statement: a file that can't be read leaves
    // the order list and its edits as they are anyway.
    if (!confirmDroppingEdits())
        return false;
    m_orders->setTable(std::move(*result.table), result.encoding, std::move(result.account));
    // The tabs' figures belonged to the statement before.
    for (AnalysisTab *tab : std::as_const(m_analysisTabs)) {
        tab->reset();
        tab->calculateButton()->setEnabled(true);
    }
    m_statementPath = path;
    SettingsFile().setImportFolder(QFileInfo(path).absolutePath());
    if (!result.notes.isEmpty())
        ShowError(this, QStringLiteral("Import(csv)"),
                  QStringLiteral("Файл «%1» прочитан, но не все строки удалось взять:\n%2")
                      .arg(QDir::toNativeSeparators(path), result.notes.join(QLatin1Char('\n'))));
    m_importStatus->setText(QStringLiteral("%1 — строк: %2 — загружен за %3 с")
                                .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()))
                                .arg(QLocale().toString(m_orders->rowCount()))
                                .arg(QLocale().toString(double(milliseconds) / 1000.0, 'f', 2)));
    updateWindowTitle();
    showTab(0);
    return true;
}

QString MainWindow::importStatus() const
{
    return m_importStatus->text();
}

void MainWindow::updateWindowTitle()
{
    QString title = QStringLiteral("Veltrano V 1.0");
    if (!m_statementPath.isEmpty())
        title = QFileInfo(m_statementPath).fileName() +
                (m_orders->isModified() ? QStringLiteral("*") : QString()) + QStringLiteral(" — ") +
                title;
    setWindowTitle(title);
}

void MainWindow::saveStatementAs()
{
    const QString path = m_chooseSaveFile();
    if (!path.isEmpty())
        saveStatementFile(path);
}

bool MainWindow::saveStatementFile(const QString &path)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString error = WriteSemicolonFile(m_orders->table(), path, m_orders->encoding());
    QApplication::restoreOverrideCursor();
    if (!error.isEmpty()) {
        ShowError(this, QStringLiteral("Сохранить как"),
                  QStringLiteral("Не удалось сохранить файл «%1»: %2")
                      .arg(QDir::toNativeSeparators(path), error));
        return false;
    }
    m_statementPath = path;
    m_orders->setModified(false);
    updateWindowTitle();
    return true;
}

bool MainWindow::confirmDroppingEdits()
{
    if (!m_orders->isModified())
        return true;
    switch (m_askAboutUnsavedEdits()) {
    case QMessageBox::Save: {
        const QString path = m_chooseSaveFile();
        return !path.isEmpty() && saveStatementFile(path);
    }
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_importing && confirmDroppingEdits())
        event->accept();
    else
        event->ignore();
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && urls.first().isLocalFile())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    importStatementFile(urls.first().toLocalFile());
}
