#pragma once

#include <QString>
#include <optional>

#include "core/statements/bank_csv_columns.h"

namespace paylark {

// The columns as they are remembered and typed on the command line: "date=1,amount=4,
// counterparty=2", counted from 1, roles in a fixed order.
QString CsvColumnsText(const BankCsvColumns& columns);
// Nothing when the text names an unknown role, a column below 1, or a role twice.
std::optional<BankCsvColumns> ParseCsvColumnsText(const QString& text);

}  // namespace paylark
