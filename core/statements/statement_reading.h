#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/status.h"
#include "core/io/file_system.h"
#include "core/statements/bank_csv_columns.h"
#include "core/statements/statement.h"

namespace paylark {

enum class StatementFormat { kOfx, kCamt, kCsv };

// The largest statement file read: years of daily bookings take a few MiB, so anything larger is
// refused (with a message) before a byte of it is read.
inline constexpr std::size_t kStatementFileLimit = std::size_t{64} << 20;

// The format a file's first bytes show, or nothing when it is none of them.
std::optional<StatementFormat> DetectStatementFormat(std::string_view head);

// Separator, decimal mark and date form from the whole file, the header and a few rows. The text
// is the file's bytes as read, in UTF-8, UTF-16 with a byte-order mark or Windows-1252; the
// shape's texts are UTF-8.
Result<BankCsvShape> DetectBankCsvShape(std::string_view text);

// Reads a statement file of the given format (detected when empty). A bank CSV needs its
// columns; without them a CSV gives a failure that says so.
Result<Statement> ReadStatement(FileSystem& files, const std::string& path,
                                std::optional<StatementFormat> format,
                                const std::optional<BankCsvColumns>& columns = {});

// The bytes of a statement file, for DetectBankCsvShape and ReadStatementBytes: anything but a
// regular file, or a file over kStatementFileLimit, is refused with a message before it is read.
Result<std::string> ReadStatementFile(FileSystem& files, const std::string& path);

// As ReadStatement, for a statement's bytes already in memory.
Result<Statement> ReadStatementBytes(std::string_view bytes, std::optional<StatementFormat> format,
                                     const std::optional<BankCsvColumns>& columns = {});

}  // namespace paylark
