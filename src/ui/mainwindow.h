// The main window: banner strip, the eight tabs, the menu, the import and the order list.
#pragma once

#include <QMainWindow>

#include <functional>

class AnalysisTab;
class OrderListModel;
class QAction;
class QTabWidget;
class QTableView;
class QuoteChartPage;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);

    /// Reads a statement into the order list; shows one message box when it can't be read.
    bool importStatementFile(const QString &path);

    /// Replaces the open dialog (tests); it returns the chosen path or an empty text.
    void setFileChooser(std::function<QString()> chooser) { m_chooseFile = std::move(chooser); }

    OrderListModel *orderModel() const { return m_orders; }

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
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void createMenu();
    QWidget *createOrdersTab();
    /// Copies the row of the order list's current cell into the chart page's readout.
    void showSelectedTrade(const QModelIndex &current);

    OrderListModel *m_orders = nullptr;
    QTabWidget *m_pages = nullptr;        // PageControl1
    QTableView *m_orderList = nullptr;    // st1
    QuoteChartPage *m_chartPage = nullptr; // TabSheet10
    QList<AnalysisTab *> m_analysisTabs;
    std::function<QString()> m_chooseFile;
};
