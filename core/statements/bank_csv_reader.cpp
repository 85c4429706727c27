#include "core/statements/bank_csv_reader.h"

#include <cstdlib>
#include <string>

#include "core/base/messages.h"
#include "core/base/text_encoding.h"
#include "core/statements/bank_csv_dates.h"
#include "core/statements/bank_csv_layout.h"
#include "core/statements/bank_csv_shape.h"
#include "core/statements/bank_csv_text.h"
#include "core/statements/statement_amount.h"
#include "core/statements/transaction_fingerprint.h"

namespace paylark {
namespace {

Status CheckColumns(const BankCsvColumns& columns, std::size_t fieldCount) {
  if (!columns.date || (!columns.amount && !columns.debit && !columns.credit))
    return Status::InvalidArgument(
        "Choose the column that holds the booking date and the column that holds the amount (or "
        "the debit and credit columns).");
  for (const std::optional<int>& column :
       {columns.date, columns.amount, columns.debit, columns.credit, columns.counterparty,
        columns.description, columns.reference, columns.debitCreditMark}) {
    if (column && (*column < 0 || static_cast<std::size_t>(*column) >= fieldCount))
      return Status::InvalidArgument("Column " + std::to_string(*column + 1) +
                                     " was chosen, but the file has " + std::to_string(fieldCount) +
                                     " columns.");
  }
  return Status::Ok();
}

std::string_view Field(const CsvRow& row, const std::optional<int>& column) {
  return column ? TrimWhiteSpace(row.fields[static_cast<std::size_t>(*column)])
                : std::string_view();
}

Status RowFailure(const CsvRow& row, const std::string& reason) {
  return Status::InvalidArgument("Row " + std::to_string(row.number) + ": " + reason);
}

// -1 for a debit mark, +1 for a credit mark, 0 when the field marks neither.
int MarkSign(std::string_view mark) {
  std::string folded;
  for (const char c : mark)
    folded += c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  for (const std::string_view debit : {"S", "SOLL", "D", "DR", "DEBIT", "DBIT", "-"}) {
    if (folded == debit)
      return -1;
  }
  for (const std::string_view credit : {"H", "HABEN", "C", "CR", "CREDIT", "CRDT", "+"}) {
    if (folded == credit)
      return 1;
  }
  return 0;
}

class RowReader {
 public:
  RowReader(const BankCsvColumns& columns, char decimalMark, const BankDateForm& dateForm)
      : columns_(columns), decimalMark_(decimalMark), dateForm_(dateForm) {}

  Result<StatementTransaction> Read(const CsvRow& row) {
    StatementTransaction transaction;
    const std::string_view date = Field(row, columns_.date);
    const std::optional<OleDateTime> bookingDate = ParseBankDate(date, dateForm_);
    if (!bookingDate)
      return RowFailure(
          row, "\"" + std::string(date) + "\" is not a date in the form " + dateForm_.Name() + ".");
    transaction.bookingDate = *bookingDate;
    PAYLARK_TRY_ASSIGN(transaction.amount, Amount(row));
    transaction.counterparty = Field(row, columns_.counterparty);
    transaction.memo = Field(row, columns_.description);
    if (const std::string_view reference = Field(row, columns_.reference); !reference.empty())
      transaction.memo += (transaction.memo.empty() ? "" : "; ") + std::string(reference);
    transaction.id = fingerprints_.Next(row.fields);
    return transaction;
  }

 private:
  Result<Cents> ReadAmount(const CsvRow& row, const std::optional<int>& column) const {
    const std::string_view text = Field(row, column);
    if (text.empty())
      return Cents{0};
    const std::optional<Cents> amount = ParseStatementAmount(text, decimalMark_);
    if (!amount)
      return RowFailure(row, "\"" + std::string(text) + "\" is not an amount.");
    return *amount;
  }

  Result<Cents> Amount(const CsvRow& row) const {
    if (columns_.amount) {
      PAYLARK_TRY_ASSIGN(const Cents amount, ReadAmount(row, columns_.amount));
      const int sign = MarkSign(Field(row, columns_.debitCreditMark));
      return sign == 0 ? amount : sign * std::abs(amount);
    }
    // A debit column holds money out, whether the bank writes it with a minus or without.
    PAYLARK_TRY_ASSIGN(const Cents debit, ReadAmount(row, columns_.debit));
    PAYLARK_TRY_ASSIGN(const Cents credit, ReadAmount(row, columns_.credit));
    return credit - std::abs(debit);
  }

  const BankCsvColumns& columns_;
  char decimalMark_;
  BankDateForm dateForm_;
  TransactionFingerprints fingerprints_;
};

bool IsDatedRow(const CsvRow& row, int dateColumn, const BankDateForm& form) {
  const auto column = static_cast<std::size_t>(dateColumn);
  return column < row.fields.size() && ParseBankDate(row.fields[column], form).has_value();
}

void SetPeriod(Statement& statement) {
  for (const StatementTransaction& transaction : statement.transactions) {
    if (!statement.periodStart || transaction.bookingDate < *statement.periodStart)
      statement.periodStart = transaction.bookingDate;
    if (!statement.periodEnd || transaction.bookingDate > *statement.periodEnd)
      statement.periodEnd = transaction.bookingDate;
  }
}

}  // namespace

Result<Statement> ReadBankCsvStatement(std::string_view bytes, const BankCsvColumns& columns) {
  PAYLARK_TRY_ASSIGN(const BankCsvText decoded, DecodeBankCsvText(bytes));
  PAYLARK_TRY_ASSIGN(const BankCsvLayout layout, ReadBankCsvLayout(decoded.text));
  PAYLARK_TRY(CheckColumns(columns, layout.fieldCount));
  PAYLARK_TRY_ASSIGN(const BankCsvShape shape, ShapeOfBankCsv(decoded.text, layout));
  RowReader reader(columns, shape.decimalMark, *BankDateForm::FromName(shape.dateForm));
  Statement statement;
  const BankDateForm dateForm = *BankDateForm::FromName(shape.dateForm);
  for (std::size_t index = layout.headerIndex + 1; index < layout.rows.size(); ++index) {
    const CsvRow& row = layout.rows[index];
    if (row.problem)
      return RowFailure(row, MessageText(*row.problem));
    if (!layout.IsBooking(index)) {
      // A bank's own closing lines have other fields; a booking broken by an unquoted separator
      // has a date where the header has it and is not passed over.
      if (IsDatedRow(row, *columns.date, dateForm))
        return RowFailure(row, "it has " + std::to_string(row.fields.size()) +
                                   " fields where the header has " +
                                   std::to_string(layout.fieldCount) + ".");
      continue;
    }
    // Lines without a date (a closing "Kontostand" line, a blank one) are not bookings.
    if (!HasDigit(Field(row, columns.date)))
      continue;
    PAYLARK_TRY_ASSIGN(StatementTransaction transaction, reader.Read(row));
    statement.transactions.push_back(std::move(transaction));
  }
  if (statement.transactions.empty())
    return Status::InvalidArgument("The file holds no bookings under its header.");
  SetPeriod(statement);
  return statement;
}

}  // namespace paylark
