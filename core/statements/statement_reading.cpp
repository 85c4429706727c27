#include "core/statements/statement_reading.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "core/base/text_encoding.h"
#include "core/statements/bank_csv_reader.h"
#include "core/statements/camt_reader.h"
#include "core/statements/ofx_reader.h"
#include "core/statements/statement_amount.h"

namespace paylark {
namespace {

constexpr std::size_t kHeadSize = 4096;

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper)
    c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  return upper;
}

bool LooksLikeText(std::string_view head) {
  // A UTF-16 CSV holds NUL bytes between its letters; its byte-order mark tells it.
  if (head.starts_with("\xFF\xFE") || head.starts_with("\xFE\xFF"))
    return true;
  return std::none_of(head.begin(), head.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte == 0 || (byte < 0x20 && c != '\t' && c != '\r' && c != '\n');
  });
}

Status NotAStatement() {
  return Status::InvalidArgument(
      "The file is not a bank statement that Paylark can read: OFX, QFX, CAMT.053 or a bank's "
      "CSV export.");
}

// Each transaction's ID stands once in the statement: a repeated one (card issuers give a purchase
// and its fee one FITID) gets its occurrence, "FITID#2", so two bookings never pay under one
// reference.
Statement Settled(Statement statement) {
  std::unordered_set<std::string> taken;
  std::unordered_map<std::string, int> occurrences;
  for (StatementTransaction& transaction : statement.transactions) {
    if (transaction.id.empty() || taken.insert(transaction.id).second)
      continue;
    int& occurrence = occurrences.try_emplace(transaction.id, 1).first->second;
    std::string unique;
    do
      unique = transaction.id + "#" + std::to_string(++occurrence);
    while (!taken.insert(unique).second);
    transaction.id = std::move(unique);
  }
  return statement;
}

Result<Statement> ReadInFormat(std::string_view bytes, StatementFormat format,
                               const std::optional<BankCsvColumns>& columns) {
  switch (format) {
    case StatementFormat::kOfx:
      return ReadOfxStatement(bytes);
    case StatementFormat::kCamt:
      return ReadCamtStatement(bytes);
    case StatementFormat::kCsv:
      break;
  }
  if (!columns)
    return Status::InvalidArgument(
        "A bank statement in CSV needs its columns: which holds the date, which the amount.");
  return ReadBankCsvStatement(bytes, *columns);
}

}  // namespace

std::optional<StatementFormat> DetectStatementFormat(std::string_view head) {
  head = head.substr(0, kHeadSize);
  if (head.starts_with("\xEF\xBB\xBF"))
    head.remove_prefix(3);
  const std::string upper = UpperCase(TrimWhiteSpace(head));
  if (upper.starts_with("OFXHEADER") || upper.find("<?OFX") != std::string::npos ||
      upper.find("<OFX>") != std::string::npos)
    return StatementFormat::kOfx;
  if (upper.starts_with("<"))
    return upper.find("CAMT.0") != std::string::npos ? std::optional(StatementFormat::kCamt)
                                                     : std::nullopt;
  // A CSV statement has a header and at least one row, its columns separated.
  if (!LooksLikeText(head) || head.find_first_of(",;\t") == std::string_view::npos ||
      head.find_first_of("\r\n") == std::string_view::npos)
    return std::nullopt;
  return StatementFormat::kCsv;
}

Result<Statement> ReadStatementBytes(std::string_view bytes, std::optional<StatementFormat> format,
                                     const std::optional<BankCsvColumns>& columns) {
  if (bytes.size() > kStatementFileLimit)
    return Status::InvalidArgument("The file is larger than a bank statement can be (64 MiB).");
  if (!format)
    format = DetectStatementFormat(bytes);
  if (!format)
    return NotAStatement();
  PAYLARK_TRY_ASSIGN(Statement statement, ReadInFormat(bytes, *format, columns));
  PAYLARK_TRY(CheckStatementAmounts(statement));
  return Settled(std::move(statement));
}

Result<std::string> ReadStatementFile(FileSystem& files, const std::string& path) {
  PAYLARK_TRY_ASSIGN(const FileInfo info, files.Inspect(path));
  if (info.kind != FileKind::kRegular)
    return Status::InvalidArgument(path + " is not a file.");
  if (info.size > kStatementFileLimit)
    return Status::InvalidArgument(path + " is " + std::to_string(info.size >> 20) +
                                   " MiB, larger than a bank statement can be (64 MiB).");
  return files.Read(path, kStatementFileLimit);
}

Result<Statement> ReadStatement(FileSystem& files, const std::string& path,
                                std::optional<StatementFormat> format,
                                const std::optional<BankCsvColumns>& columns) {
  PAYLARK_TRY_ASSIGN(const std::string bytes, ReadStatementFile(files, path));
  return ReadStatementBytes(bytes, format, columns);
}

}  // namespace paylark
