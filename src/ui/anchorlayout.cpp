// Anchored placement: base geometry plus shares of the parent's growth.
#include "anchorlayout.h"

#include <QWidget>
#include <QWidgetItem>

#include <cmath>

AnchorLayout::AnchorLayout(QWidget *parent, QSize baseSize) : QLayout(parent), m_baseSize(baseSize)
{
    setContentsMargins(0, 0, 0, 0);
    setSpacing(0);
}

AnchorLayout::~AnchorLayout()
{
    for (const Item &i : std::as_const(m_items))
        delete i.item;
}

void AnchorLayout::anchor(QWidget *child, Growth growth)
{
    addChildWidget(child);
    m_items.append({new QWidgetItem(child), child->geometry(), growth});
    invalidate();
}

void AnchorLayout::addItem(QLayoutItem *item)
{
    // Items added without a place keep their geometry at the base size.
    const QRect base = item->widget() ? item->widget()->geometry() : item->geometry();
    m_items.append({item, base, Fixed});
}

QLayoutItem *AnchorLayout::itemAt(int index) const
{
    return index >= 0 && index < m_items.size() ? m_items.at(index).item : nullptr;
}

QLayoutItem *AnchorLayout::takeAt(int index)
{
    if (index < 0 || index >= m_items.size())
        return nullptr;
    return m_items.takeAt(index).item;
}

void AnchorLayout::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    // A parent smaller than designed (never, with the minimum size) keeps the designed places.
    const qreal dx = std::max(0, rect.width() - m_baseSize.width());
    const qreal dy = std::max(0, rect.height() - m_baseSize.height());
    for (const Item &i : std::as_const(m_items)) {
        const QRect &b = i.base;
        const int left = b.x() + int(std::lround(i.growth.x * dx));
        const int top = b.y() + int(std::lround(i.growth.y * dy));
        const int width = b.width() + int(std::lround(i.growth.width * dx));
        const int height = b.height() + int(std::lround(i.growth.height * dy));
        const QRect place(rect.x() + left, rect.y() + top, width, height);
        // Straight to the widget: its designed place wins over size hints and policies.
        if (QWidget *widget = i.item->widget())
            widget->setGeometry(place);
        else
            i.item->setGeometry(place);
    }
}
