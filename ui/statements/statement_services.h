#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/progress.h"
#include "core/base/status.h"
#include "core/statements/bank_csv_columns.h"
#include "core/statements/statement.h"
#include "core/statements/statement_import.h"
#include "core/statements/statement_matching.h"
#include "core/statements/statement_reading.h"

namespace paylark {

// What File → Import Statement… asks of the statement core: the program gives the real readers,
// matching and import over its working directory; tests give their own.
struct StatementServices {
  // The format a file's first bytes show, or nothing.
  std::function<std::optional<StatementFormat>(std::string_view head)> detectFormat;
  // A bank CSV's separator, decimal mark, date form, header and first rows.
  std::function<Result<BankCsvShape>(std::string_view text)> detectCsvShape;
  // The whole statement; a CSV with the columns the user chose.
  std::function<Result<Statement>(const std::string& path, StatementFormat format,
                                  const std::optional<BankCsvColumns>& columns)>
      read;
  // The Paylark accounts to offer for the statement, best first: the one its bank account is
  // linked to, else the one whose dues it matches most.
  std::function<std::vector<std::string>(const Statement& statement)> accounts;
  // What the statement would do to the working directory's dues, with the user's windows.
  std::function<StatementMatching(const Statement& statement)> match;
  // Whether the statement's closing balance is already an entry of its account.
  std::function<bool(const Statement& statement)> balanceEntered;
  // Writes the chosen changes as one batch, all or nothing.
  std::function<Result<StatementImportSummary>(
      const Statement& statement, const StatementImportChoice& choice,
      const std::string& sourceName, const Progress& progress)>
      import;
};

}  // namespace paylark
