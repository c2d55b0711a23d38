// A "Начальный баланс" field that shows the statement's own starting balance after an HTML import.
#pragma once

#include <QChar>
#include <QString>

#include <optional>

class QLineEdit;

/// Wraps a tab's initial-balance edit. After a statement with its own starting balance the edit
/// shows that balance with its cents; as long as it shows exactly that text, calculations take
/// the balance itself. A statement without one gives the edit back the text it had before.
class StatementBalanceField {
public:
    explicit StatementBalanceField(QLineEdit *edit) : m_edit(edit) {}

    /// A statement was imported: `balance` is its own starting balance, or nothing.
    void setStatementBalance(std::optional<double> balance, QChar decimalSeparator);
    /// The text of the edit, read by the tab's usual rule when statementBalance() is empty.
    QString text() const;
    /// The statement's balance while the edit shows it unchanged, else nothing.
    std::optional<double> statementBalance() const;

private:
    QLineEdit *m_edit;
    std::optional<double> m_balance;
    QString m_shown;     // the text shown for m_balance
    QString m_typedText; // the edit's text before a statement's balance replaced it
};
