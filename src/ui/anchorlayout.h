// A layout that keeps every child at its laid-out place at the base size and hands out the room
// the parent gains beyond it: each child moves and grows by given shares of the extra width and
// height. So the window looks exactly as designed at its default size and the grids and charts
// take the room of a bigger or maximised window.
#pragma once

#include <QLayout>
#include <QList>
#include <QRect>

class AnchorLayout : public QLayout {
    Q_OBJECT
public:
    /// Shares of the extra width (x, width) and height (y, height) a child takes: x = 1 keeps it
    /// at the right edge, width = 1 stretches it with the parent, 0.5 takes half the extra room.
    struct Growth {
        qreal x = 0, y = 0, width = 0, height = 0;
    };
    static constexpr Growth Fixed{0, 0, 0, 0};
    static constexpr Growth Stretch{0, 0, 1, 1};
    static constexpr Growth StretchWidth{0, 0, 1, 0};
    static constexpr Growth Bottom{0, 1, 0, 0};
    static constexpr Growth BottomStretchWidth{0, 1, 1, 0};
    static constexpr Growth Right{1, 0, 0, 0};

    /// Lays out `parent`, whose designed size is `baseSize`.
    AnchorLayout(QWidget *parent, QSize baseSize);
    ~AnchorLayout() override;

    /// Adds `child` (a child of the parent) at its current geometry, which is its place at the
    /// base size.
    void anchor(QWidget *child, Growth growth);

    QSize baseSize() const { return m_baseSize; }

    void addItem(QLayoutItem *item) override;
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    int count() const override { return int(m_items.size()); }
    QSize sizeHint() const override { return m_baseSize; }
    QSize minimumSize() const override { return m_baseSize; }
    void setGeometry(const QRect &rect) override;

private:
    struct Item {
        QLayoutItem *item;
        QRect base;
        Growth growth;
    };
    QSize m_baseSize;
    QList<Item> m_items;
};
