// The "Серии" tab: two empty grids, a note and a button that stays disabled.
#pragma once

#include <QWidget>

class SeriesTab : public QWidget {
    Q_OBJECT
public:
    explicit SeriesTab(QWidget *parent = nullptr);
};
