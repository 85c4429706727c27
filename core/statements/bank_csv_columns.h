#pragma once

#include <optional>
#include <string>
#include <vector>

namespace paylark {

// Which column of a bank's CSV export holds what (0-based). Either one signed amount column or a
// debit and a credit column. A debit/credit mark column ("S"/"H", "Soll"/"Haben", "D"/"C",
// "Debit"/"Credit", "DR"/"CR") gives the amount's sign where the bank writes every amount positive.
struct BankCsvColumns {
  std::optional<int> date;
  std::optional<int> amount;
  std::optional<int> debit;
  std::optional<int> credit;
  std::optional<int> counterparty;
  std::optional<int> description;
  std::optional<int> reference;
  std::optional<int> debitCreditMark;

  bool operator==(const BankCsvColumns&) const = default;
};

// What the whole file shows of its form, found before any column is chosen.
struct BankCsvShape {
  char separator = ',';    // ',', ';' or '\t'
  char decimalMark = '.';  // '.' or ','
  std::string dateForm;    // "yyyy-mm-dd", "dd.mm.yyyy", "dd/mm/yyyy", "mm/dd/yyyy", ...
  std::string headerLine;  // the header as it stands in the file: the key a mapping is kept under
  std::string encoding;    // "UTF-8", "UTF-16" or "Windows-1252": what the file was read as
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> sampleRows;  // the first rows, for the mapping step
  BankCsvColumns guessedColumns;                     // from the header's names, where they tell
};

}  // namespace paylark
