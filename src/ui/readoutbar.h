// A status bar of 14 panels showing one trade (sb1, sb2, sb3).
#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;
class StatementTable;

class ReadoutBar : public QWidget {
    Q_OBJECT
public:
    explicit ReadoutBar(QWidget *parent = nullptr);

    void setTexts(const QStringList &texts);
    /// The 14 panel texts, Ticket first.
    QStringList texts() const;

    /// Shows the last row of `table` whose Ticket is `label`; keeps the texts when none is.
    void showLastRowWithTicket(const StatementTable &table, const QString &label);

private:
    QList<QLabel *> m_panels;
};
