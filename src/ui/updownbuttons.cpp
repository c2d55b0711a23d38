// Up-down buttons bound to a line edit.
#include "updownbuttons.h"

#include "statement/parsenumber.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

UpDownButtons::UpDownButtons(QLineEdit *edit, int minimum, int maximum, QWidget *parent)
    : QWidget(parent), m_edit(edit), m_minimum(minimum), m_maximum(maximum)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *up = new QToolButton(this);
    auto *down = new QToolButton(this);
    up->setArrowType(Qt::UpArrow);
    down->setArrowType(Qt::DownArrow);
    for (QToolButton *b : {up, down}) {
        b->setAutoRepeat(true);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        b->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(b);
    }
    connect(up, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(down, &QToolButton::clicked, this, [this] { stepBy(-1); });
}

void UpDownButtons::stepBy(int steps)
{
    const long long current = ParseInteger(m_edit->text()).value_or(m_minimum);
    const long long next = std::clamp<long long>(current + steps, m_minimum, m_maximum);
    m_edit->setText(QString::number(next));
}
