// libFuzzer target: any bytes as a CAMT.053 statement and as a bank's CSV export (OFX, which
// goes through LibOFX, has its own target). Reading never crashes, loops or expands an entity; a
// statement read has valid booking dates, and a CSV statement at least one transaction, each with
// an ID.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/statements/bank_csv_reader.h"
#include "core/statements/camt_reader.h"
#include "core/statements/statement_reading.h"

namespace {

void Check(const paylark::Result<paylark::Statement>& statement, bool needsTransactions) {
  if (!statement.ok())
    return;
  if (needsTransactions && statement.value().transactions.empty())
    __builtin_trap();
  for (const paylark::StatementTransaction& transaction : statement.value().transactions) {
    if (!transaction.bookingDate.IsValid() || transaction.id.empty())
      __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  (void)paylark::DetectStatementFormat(bytes);
  Check(paylark::ReadCamtStatement(bytes), false);
  const paylark::Result<paylark::BankCsvShape> shape = paylark::DetectBankCsvShape(bytes);
  if (shape.ok())
    Check(paylark::ReadBankCsvStatement(bytes, shape.value().guessedColumns), true);
  paylark::BankCsvColumns columns;
  columns.date = 0;
  columns.debit = 1;
  columns.credit = 2;
  columns.debitCreditMark = 3;
  Check(paylark::ReadBankCsvStatement(bytes, columns), true);
  return 0;
}
