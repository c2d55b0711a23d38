// Streaks tab layout and rendering of a StreaksResult.
#include "streakstab.h"

#include "anchorlayout.h"
#include "gridview.h"
#include "orderlistmodel.h"
#include "pagesize.h"
#include "resultgridmodel.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

namespace {

// "Вал.Пары", the twelve lengths, ">12".
const QList<int> kStreakWidths = {98, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 51};

} // namespace

StreaksTab::StreaksTab(OrderListModel *orders, QWidget *parent) : AnalysisTab(orders, parent)
{
    setObjectName(QStringLiteral("TabSheet8"));
    auto *profits = new QLabel(QStringLiteral("Число серий профитов"), this);
    profits->move(8, 8);
    profits->adjustSize(); // the tab's layout keeps the size a widget has
    m_winGridModel = new ResultGridModel(this);
    m_winGridModel->setHeader(StreaksGridHeader());
    m_winGrid =
        CreateResultGrid(this, QStringLiteral("StringGrid1"), {8, 24, 921, 241}, kStreakWidths);
    SetGridModel(m_winGrid, m_winGridModel, kStreakWidths);

    auto *losses = new QLabel(QStringLiteral("Число серий убытков"), this);
    losses->move(8, 272);
    losses->adjustSize();
    m_lossGridModel = new ResultGridModel(this);
    m_lossGridModel->setHeader(StreaksGridHeader());
    m_lossGrid =
        CreateResultGrid(this, QStringLiteral("StringGrid2"), {7, 288, 921, 233}, kStreakWidths);
    SetGridModel(m_lossGrid, m_lossGridModel, kStreakWidths);

    createCalculateButton(QStringLiteral("Button8"), {7, 527, 75, 25});

    auto *note = new QPlainTextEdit(this);
    note->setObjectName(QStringLiteral("Memo2"));
    note->setGeometry(88, 528, 649, 25);
    note->setReadOnly(true);
    note->setFrameShape(QFrame::NoFrame);
    note->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    note->setBackgroundRole(QPalette::Window);
    note->setPlainText(QStringLiteral("В данной таблице номер столбца это длинна серии, а в ячейке "
                                      "число найденных  серий такой длинны"));

    auto *layout = new AnchorLayout(this, kPageSize);
    layout->anchor(m_winGrid, {0, 0, 1, 0.5});
    layout->anchor(losses, {0, 0.5, 0, 0});
    layout->anchor(m_lossGrid, {0, 0.5, 1, 0.5});
    layout->anchor(calculateButton(), AnchorLayout::Bottom);
    layout->anchor(note, AnchorLayout::Bottom);
}

bool StreaksTab::calculate()
{
    StreaksResult result = CalculateStreaks(orders()->table(), orders()->decimalSeparator());
    if (showError(result.error))
        return false;
    m_result = std::move(result);
    m_winGridModel->setGrid(m_result.wins);
    m_lossGridModel->setGrid(m_result.losses);
    return true;
}

void StreaksTab::reset()
{
    m_result = StreaksResult();
    m_winGridModel->setGrid({StreaksGridHeader()});
    m_lossGridModel->setGrid({StreaksGridHeader()});
}
