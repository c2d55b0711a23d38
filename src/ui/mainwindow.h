// The main window: banner strip, the eight tabs, the menu, the import and the order list.
#pragma once

#include <QMainWindow>

#include <functional>

class OrderListModel;
class QAction;
class QPushButton;
class QTabWidget;
class QTableView;
class QLineEdit;
class ReadoutBar;
class StatisticsTab;
class PairsTab;
class WeekdayTab;
class RiskTab;
class OutcomesTab;
class WebLinks;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);

    /// Reads a statement into the order list; shows one message box when it can't be read.
    bool importStatementFile(const QString &path);

    /// Replaces the open dialog (tests); it returns the chosen path or an empty text.
    void setFileChooser(std::function<QString()> chooser) { m_chooseFile = std::move(chooser); }

    OrderListModel *orderModel() const { return m_orders; }
    /// The web panes, their timer and the Help links.
    WebLinks *webLinks() const { return m_web; }

    /// Presses every enabled calculation button (used by --calculate).
    void calculateAll();
    /// Opens tab `index` of the main page control (the order list itself for the orders tab).
    void showTab(int index);

public Q_SLOTS:
    /// File > "Import(csv)" and F2.
    void Open1Click();

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void createMenu();
    QWidget *createOrdersTab();
    QWidget *createChartPage();
    void st1SelectCell(const QModelIndex &current);

    OrderListModel *m_orders = nullptr;
    QTabWidget *m_pages = nullptr;
    QTableView *m_st1 = nullptr;
    ReadoutBar *m_sb3 = nullptr;
    QLineEdit *m_edit4 = nullptr;
    StatisticsTab *m_statistics = nullptr;
    PairsTab *m_pairs = nullptr;
    WeekdayTab *m_weekdays = nullptr;
    RiskTab *m_risk = nullptr;
    OutcomesTab *m_outcomes = nullptr;
    QList<QPushButton *> m_calculationButtons;
    std::function<QString()> m_chooseFile;
    WebLinks *m_web = nullptr;
};
