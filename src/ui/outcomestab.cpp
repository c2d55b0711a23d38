// Outcomes tab layout and rendering of an OutcomesResult.
#include "outcomestab.h"

#include "gridview.h"
#include "messages.h"
#include "orderlistmodel.h"
#include "resultgridmodel.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QPushButton>
#include <QTableView>

namespace {
const QList<int> kOutcomeWidths = {59, 77, 61, 69, 47, 100, 70, 78};
const QList<int> kGroupWidths = {73, 53, 52, 51, 49};
} // namespace

OutcomesTab::OutcomesTab(OrderListModel *orders, QWidget *parent) : QWidget(parent), m_orders(orders)
{
    setObjectName(QStringLiteral("TabSheet7"));
    m_outcomes = new ResultGridModel(this);
    m_outcomes->setHeader({QStringLiteral("Вал.Пары"), QStringLiteral("По стопу в(-)"), QStringLiteral("По тейку"),
                           QStringLiteral("В безубыток"), QStringLiteral("Ручное"),
                           QStringLiteral("Удаленные позиции"), QStringLiteral("По стопу в(+)"),
                           QStringLiteral("Всего сделок")});
    m_st5 = CreateResultGrid(this, QStringLiteral("st5"), {0, 8, 601, 513}, kOutcomeWidths);
    SetGridModel(m_st5, m_outcomes, kOutcomeWidths);

    auto *caption = new QLabel(QStringLiteral("Таблица распределения исходов"), this);
    caption->setObjectName(QStringLiteral("Label125"));
    caption->move(624, 8);
    m_groups = new ResultGridModel(this);
    m_groups->setHeader({QStringLiteral("Вал.Пары"), QStringLiteral("Группа 1"), QStringLiteral("Группа 2"),
                         QStringLiteral("Группа 3"), QStringLiteral("Группа 4")});
    m_st6 = CreateResultGrid(this, QStringLiteral("st6"), {624, 24, 305, 417}, kGroupWidths);
    SetGridModel(m_st6, m_groups, kGroupWidths);

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

    m_button = new QPushButton(QStringLiteral("Расчет"), this);
    m_button->setObjectName(QStringLiteral("Button7"));
    m_button->setGeometry(8, 528, 75, 25);
    m_button->setEnabled(false);
    connect(m_button, &QPushButton::clicked, this, &OutcomesTab::Button7Click);

    auto *note = new QLabel(QStringLiteral("по стопу в (+)- сделки закрытие трейлингом"), this);
    note->setObjectName(QStringLiteral("Label126"));
    note->move(104, 528);
}

void OutcomesTab::Button7Click()
{
    OutcomesResult result = CalculateOutcomes(m_orders->table(), m_orders->decimalSeparator());
    if (ShowCalculationError(this, QStringLiteral("Закрытие/Исходы"), result.error))
        return;
    m_result = std::move(result);
    m_outcomes->setGrid(m_result.outcomesGrid, m_result.outcomesShades);
    m_groups->setGrid(m_result.groupsGrid, m_result.groupsShades);
}
