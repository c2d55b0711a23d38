// The main window: banner strip, the eight tabs, the menu, the import and the order list.
#pragma once

#include "formats/statementimport.h"

#include <QMainWindow>
#include <QMessageBox>

#include <functional>

class AnalysisTab;
class OrderListModel;
class QAction;
class QTabWidget;
class QTableView;
class QLabel;
class QuoteChartPage;
class WebLinks;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);

    /// Reads a statement into the order list; shows one message box when it can't be read. An
    /// import that takes longer than half a second shows a progress dialog ("importProgress")
    /// whose Cancel abandons it; the order list stays as it was then, without a message.
    bool importStatementFile(const QString &path);

    using StatementImporter = std::function<ImportResult(const QString &, const ImportOptions &)>;
    /// Replaces ImportStatement (tests); it runs on a worker thread.
    void setStatementImporter(StatementImporter importer) { m_importer = std::move(importer); }

    /// Replaces the open dialog (tests); it returns the chosen path or an empty text.
    void setFileChooser(std::function<QString()> chooser) { m_chooseFile = std::move(chooser); }
    /// Replaces the save dialog (tests); it returns the chosen path or an empty text.
    void setSaveFileChooser(std::function<QString()> chooser)
    {
        m_chooseSaveFile = std::move(chooser);
    }
    /// Replaces the question asked before unsaved edits are dropped (tests): Save, Discard or
    /// Cancel.
    void setUnsavedEditsQuestion(std::function<QMessageBox::StandardButton()> question)
    {
        m_askAboutUnsavedEdits = std::move(question);
    }

    /// File > "Сохранить как…": writes the order list as it stands to `path`; true when written.
    bool saveStatementFile(const QString &path);
    /// The status line under the pages: the file, its rows and the import time.
    QString importStatus() const;

    OrderListModel *orderModel() const { return m_orders; }
    /// The web panes, their timer and the Help links.
    WebLinks *webLinks() const { return m_web; }

    /// Presses every enabled calculation button (used by --calculate).
    void calculateAll();
    /// The analysis tabs, in page order.
    const QList<AnalysisTab *> &analysisTabs() const { return m_analysisTabs; }
    /// The "На графике" page inside the orders tab.
    QuoteChartPage *chartPage() const { return m_chartPage; }
    /// Opens tab `index` of the main page control (the order list itself for the orders tab).
    void showTab(int index);

public Q_SLOTS:
    /// File > "Import(csv)" (Open1) and F2.
    void openStatement();

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void createMenu();
    QWidget *createOrdersTab();
    /// File > "Сохранить как…" (SaveAs1).
    void saveStatementAs();
    /// Asks what to do with unsaved edits; false when the user cancels (or the save failed).
    bool confirmDroppingEdits();
    void updateWindowTitle();
    /// Runs the importer on a worker thread, the events going on meanwhile; shows the progress
    /// dialog once the import has taken half a second.
    ImportResult runImport(const QString &path);
    /// Copies the row of the order list's current cell into the chart page's readout.
    void showSelectedTrade(const QModelIndex &current);

    OrderListModel *m_orders = nullptr;
    QTabWidget *m_pages = nullptr;         // PageControl1
    QTableView *m_orderList = nullptr;     // st1
    QuoteChartPage *m_chartPage = nullptr; // TabSheet10
    QList<AnalysisTab *> m_analysisTabs;
    QLabel *m_importStatus = nullptr;
    QString m_statementPath; ///< the file imported or saved last, empty before any
    std::function<QString()> m_chooseFile;
    WebLinks *m_web = nullptr;
    std::function<QString()> m_chooseSaveFile;
    std::function<QMessageBox::StandardButton()> m_askAboutUnsavedEdits;
    StatementImporter m_importer;
    bool m_importing = false; ///< an import runs: another one, or closing, waits for it
};
