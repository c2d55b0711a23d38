// Money moved in and out of the account, kept with a statement beside its orders.
#pragma once

#include <QString>

#include <vector>

/// One balance or credit row of an account statement: a deposit, withdrawal, transfer or credit,
/// never a trade.
struct BalanceOperation {
    enum Kind { Balance, Credit };
    Kind kind = Balance;
    QString ticket;
    QString time; ///< "YYYY.MM.DD HH:MM:SS" as listed
    double amount = 0;
    QString comment;
};

/// What an account statement tells besides its orders: the money operations and where the
/// balance starts.
struct AccountOperations {
    /// The balance before the first listed row (the statement's closing balance less its trade
    /// results and balance rows); 0 when the statement begins with the first deposit.
    double broughtForward = 0;
    /// broughtForward plus the balance and credit rows dated before the first trade's close:
    /// where the terminal's balance curve, the statistics and the risk balance start.
    double startingBalance = 0;
    std::vector<BalanceOperation> operations; ///< in statement order
};
