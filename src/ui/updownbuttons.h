// An edit with up-down buttons: the buttons step within a range, typed text is kept as typed.
#pragma once

#include <QWidget>

class QLineEdit;

class UpDownButtons : public QWidget {
    Q_OBJECT
public:
    UpDownButtons(QLineEdit *edit, int minimum, int maximum, QWidget *parent = nullptr);

    void stepBy(int steps);

private:
    QLineEdit *m_edit;
    int m_minimum;
    int m_maximum;
};
