#pragma once

#include <string>
#include <vector>

#include "core/statements/bank_csv_columns.h"

namespace paylark {

// The columns a header's names tell, in English or German ("Buchungstag", "Betrag", "Soll",
// "Haben", "Auftraggeber/Empfänger", "Verwendungszweck", "Date", "Amount", "Debit", "Credit",
// "Payee", "Description", ...), letter case and umlauts folded. A column is given one role at
// most; where a debit and a credit column are found there is no amount column.
BankCsvColumns GuessBankCsvColumns(const std::vector<std::string>& header);

}  // namespace paylark
