// The "На графике" page: one trade drawn over the price history of its symbol.
#pragma once

#include "quotes/quotechart.h"
#include "statement/tradereadout.h"

#include <QWidget>

#include <functional>

class QCandlestickSeries;
class QCategoryAxis;
class QChartView;
class QComboBox;
class QLineEdit;
class QPushButton;
class QScatterSeries;
class QValueAxis;
class ReadoutBar;

class QuoteChartPage : public QWidget {
    Q_OBJECT
public:
    /// Prices of the drawn trade are read with `decimalSeparator` (the order list's).
    explicit QuoteChartPage(QChar decimalSeparator, QWidget *parent = nullptr);

    /// The trade "Показать" draws: shown in sb3 as a copy of its row.
    void setSelectedTrade(const SelectedTrade &trade);
    const SelectedTrade &selectedTrade() const { return m_trade; }

    /// The terminal's history folder for this run (not written to the settings file).
    void setHistoryFolder(const QString &folder);
    QString historyFolder() const;

    /// The settings file "Указать" writes to (tests use their own); read into the folder field.
    void setSettingsPath(const QString &path);
    /// Replace the folder dialog (argument: the folder it starts at) and the save dialog (tests);
    /// each returns the chosen path or an empty text.
    void setFolderChooser(std::function<QString(const QString &start)> chooser)
    {
        m_chooseFolder = std::move(chooser);
    }
    void setSaveChooser(std::function<QString()> chooser) { m_chooseSaveFile = std::move(chooser); }

    /// What the chart shows now (empty before the first drawing).
    const QuoteChart &shown() const { return m_shown; }
    QChartView *chartView() const { return m_chart3; }

    /// The name "Сохранить" writes: the chosen name with its extension (from the last "." of the
    /// file name) replaced by ".bmp", or ".bmp" appended when it has none.
    static QString bitmapPath(const QString &chosen);

    /// "Показать" (Button10): draws the selected trade, or shows one message and keeps the chart.
    void showTrade();
    /// "Указать" (Button9): chooses the folder and writes it to the settings file at once.
    void chooseFolder();
    /// "Сохранить" (Button11): saves the chart as it is on the screen as a BMP file.
    void saveChart();

private:
    void render(QuoteChart chart);
    void fitAxes();

    QChar m_decimalSeparator;
    QString m_settingsPath;
    SelectedTrade m_trade;
    QuoteChart m_shown;
    OpenShape m_openShape = OpenShape::Up;
    std::function<QString(const QString &)> m_chooseFolder;
    std::function<QString()> m_chooseSaveFile;

    QChartView *m_chart3;
    QCandlestickSeries *m_price;  // Series15
    QScatterSeries *m_openMarks;  // Series17
    QScatterSeries *m_closeMarks; // Series20
    QScatterSeries *m_stopLoss;   // Series18
    QScatterSeries *m_takeProfit; // Series19
    QValueAxis *m_timeAxis;       // carries the series; its labels are drawn by m_dateLabels
    QCategoryAxis *m_dateLabels;  // UTC date-time labels
    QValueAxis *m_priceAxis;
    QLineEdit *m_historyFolder; // Edit4
    QComboBox *m_timeframe;     // cb1
    QLineEdit *m_barLimit;      // Edit5
    QLineEdit *m_gmtShift;      // Edit6
    ReadoutBar *m_readout;      // sb3
};
