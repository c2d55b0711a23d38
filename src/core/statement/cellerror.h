// The one error a calculation reports: which cell (or field) held what, and why it failed.
#pragma once

#include <QString>

#include <optional>
#include <stdexcept>

/// A value that could not be converted. `row` is the statement table row (header = 0) or -1
/// when the value came from a tab field; `column` names the column or field.
struct CellError {
    int row = -1;
    QString column;
    QString text;
    QString message;

    /// The one-line text shown to the user, e.g. «Строка 12, столбец Profit: «abc» — не число»;
    /// a long cell text is cut (QuotedCellText), `text` itself keeps it whole.
    QString describe() const;
};

/// A cell's text as messages quote it: at most 40 characters, a longer one cut with "…".
QString QuotedCellText(const QString &text);

/// Thrown by the conversion helpers; every analysis turns it into its result's error.
class CellErrorException : public std::exception {
public:
    explicit CellErrorException(CellError error) : m_error(std::move(error)) {}
    const CellError &error() const { return m_error; }
    const char *what() const noexcept override { return "cell conversion failed"; }

private:
    CellError m_error;
};

/// Runs the whole computing pass of an analysis: a CellErrorException thrown inside becomes the
/// returned error, so a result is either complete or only an error.
template <typename Pass> std::optional<CellError> CatchCellError(Pass &&pass)
{
    try {
        pass();
        return std::nullopt;
    } catch (const CellErrorException &e) {
        return e.error();
    }
}

/// A result that holds only `error`.
template <typename Result> Result FailedResult(CellError error)
{
    Result failed;
    failed.error = std::move(error);
    return failed;
}
