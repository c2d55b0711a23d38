// Outcomes tab layout and rendering of an OutcomesResult.
#include "outcomestab.h"

#include "anchorlayout.h"
#include "gridview.h"
#include "orderlistmodel.h"
#include "pagesize.h"
#include "resultgridmodel.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTextDocument>

namespace {
const QList<int> kOutcomeWidths = {59, 77, 61, 69, 47, 100, 70, 78};
const QList<int> kGroupWidths = {73, 53, 52, 51, 49};
} // namespace

OutcomesTab::OutcomesTab(OrderListModel *orders, QWidget *parent) : AnalysisTab(orders, parent)
{
    setObjectName(QStringLiteral("TabSheet7"));
    m_outcomeGridModel = new ResultGridModel(this);
    m_outcomeGridModel->setHeader(OutcomesGridHeader());
    m_outcomeGrid = CreateResultGrid(this, QStringLiteral("st5"), {0, 8, 601, 513}, kOutcomeWidths);
    SetGridModel(m_outcomeGrid, m_outcomeGridModel, kOutcomeWidths);

    auto *caption = new QLabel(QStringLiteral("Таблица распределения исходов"), this);
    caption->setObjectName(QStringLiteral("Label125"));
    caption->move(624, 8);
    caption->adjustSize(); // the tab's layout keeps the size a widget has
    m_groupGridModel = new ResultGridModel(this);
    m_groupGridModel->setHeader(GroupsGridHeader());
    m_groupGrid = CreateResultGrid(this, QStringLiteral("st6"), {624, 24, 305, 417}, kGroupWidths);
    SetGridModel(m_groupGrid, m_groupGridModel, kGroupWidths);

    auto *memo = new QPlainTextEdit(this);
    memo->setObjectName(QStringLiteral("Memo1"));
    memo->setGeometry(624, 448, 305, 73);
    memo->setReadOnly(true);
    memo->setFrameShape(QFrame::NoFrame);
    memo->setBackgroundRole(QPalette::Window);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->document()->setDocumentMargin(1);
    memo->setPlainText(QStringLiteral("Первая группа - вслед за профитом получали ещё один \n"
                                      "профит\n"
                                      "Вторая группа - после убытка получали профит\n"
                                      "Третья группа - за убытком следует ещё один убыток\n"
                                      "Четвертая группа- после профита  получаем убыток. "));

    createCalculateButton(QStringLiteral("Button7"), {8, 528, 75, 25});

    auto *note = new QLabel(QStringLiteral("по стопу в (+)- сделки закрытие трейлингом"), this);
    note->setObjectName(QStringLiteral("Label126"));
    note->move(104, 528);
    note->adjustSize();

    auto *layout = new AnchorLayout(this, kPageSize);
    layout->anchor(m_outcomeGrid, {0, 0, 0.6, 1});
    layout->anchor(caption, {0.6, 0, 0, 0});
    layout->anchor(m_groupGrid, {0.6, 0, 0.4, 1});
    layout->anchor(memo, {0.6, 1, 0, 0});
    layout->anchor(calculateButton(), AnchorLayout::Bottom);
    layout->anchor(note, AnchorLayout::Bottom);
}

bool OutcomesTab::calculate()
{
    OutcomesResult result = CalculateOutcomes(orders()->table(), orders()->decimalSeparator());
    if (showError(result.error))
        return false;
    m_result = std::move(result);
    m_outcomeGridModel->setGrid(m_result.outcomesGrid, m_result.outcomesShades);
    m_groupGridModel->setGrid(m_result.groupsGrid, m_result.groupsShades);
    return true;
}

void OutcomesTab::reset()
{
    m_result = OutcomesResult();
    m_outcomeGridModel->setGrid({OutcomesGridHeader()});
    m_groupGridModel->setGrid({GroupsGridHeader()});
}
