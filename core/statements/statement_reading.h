#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/base/status.h"
#include "core/records/file_system.h"
#include "core/statements/bank_csv_columns.h"
#include "core/statements/statement.h"

namespace paylark {

enum class StatementFormat { kOfx, kCamt, kCsv };

// The format a file's first bytes show, or nothing when it is none of them.
std::optional<StatementFormat> DetectStatementFormat(std::string_view head);

// Separator, decimal mark and date form from the whole file, the header and a few rows.
Result<BankCsvShape> DetectBankCsvShape(std::string_view text);

// Reads a statement file of the given format (detected when empty). A bank CSV needs its
// columns; without them a CSV gives a failure that says so.
Result<Statement> ReadStatement(FileSystem& files, const std::string& path,
                                std::optional<StatementFormat> format,
                                const std::optional<BankCsvColumns>& columns = {});

}  // namespace paylark
