// Switching an initial-balance edit between typed text and a statement's own balance.
#include "statementbalancefield.h"

#include "statement/formatmoney.h"

#include <QLineEdit>

void StatementBalanceField::setStatementBalance(std::optional<double> balance,
                                                QChar decimalSeparator)
{
    const bool showingStatement = m_balance && m_edit->text() == m_shown;
    if (!balance) {
        if (showingStatement)
            m_edit->setText(m_typedText);
        m_balance.reset();
        m_shown.clear();
        return;
    }
    if (!showingStatement)
        m_typedText = m_edit->text();
    m_balance = balance;
    m_shown = FormatMoney(*balance, decimalSeparator);
    m_edit->setText(m_shown);
}

QString StatementBalanceField::text() const
{
    return m_edit->text();
}

std::optional<double> StatementBalanceField::statementBalance() const
{
    if (m_balance && m_edit->text() == m_shown)
        return m_balance;
    return std::nullopt;
}
