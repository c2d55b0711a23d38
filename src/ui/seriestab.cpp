// Layout of the series tab.
#include "seriestab.h"

#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

namespace {

QTableWidget *createSeriesGrid(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *grid = new QTableWidget(4, 14, parent);
    grid->setObjectName(name);
    grid->setGeometry(geometry);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(24);
    grid->horizontalHeader()->setFixedHeight(24);
    grid->setHorizontalHeaderLabels(QStringList(14, QString()));
    for (int c = 0; c < 14; ++c)
        grid->horizontalHeader()->resizeSection(c, c == 0 ? 98 : c == 13 ? 51 : 60);
    return grid;
}

} // namespace

SeriesTab::SeriesTab(QWidget *parent) : QWidget(parent)
{
    auto *profits = new QLabel(QStringLiteral("Число серий профитов"), this);
    profits->move(8, 8);
    createSeriesGrid(this, QStringLiteral("StringGrid1"), QRect(8, 24, 921, 241));
    auto *losses = new QLabel(QStringLiteral("Число серий убытков"), this);
    losses->move(8, 272);
    createSeriesGrid(this, QStringLiteral("StringGrid2"), QRect(7, 288, 921, 233));

    auto *button = new QPushButton(QStringLiteral("Расчет"), this);
    button->setObjectName(QStringLiteral("Button8"));
    button->setGeometry(7, 527, 75, 25);
    button->setEnabled(false);

    auto *note = new QPlainTextEdit(this);
    note->setObjectName(QStringLiteral("Memo2"));
    note->setGeometry(88, 528, 649, 25);
    note->setReadOnly(true);
    note->setFrameShape(QFrame::NoFrame);
    note->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    note->setBackgroundRole(QPalette::Window);
    note->setPlainText(QStringLiteral("В данной таблице номер столбца это длинна серии, а в ячейке "
                                      "число найденных  серий такой длинны"));
}
