#include "core/forecast/balance_file.h"

#include <cmath>

#include "core/base/amount_limit.h"
#include "core/records/archive_fields.h"
#include "core/records/record_codec.h"
#include "core/records/record_files.h"

namespace paylark {
namespace {

constexpr std::string_view kPrefix = "balance";

}  // namespace

std::string BalanceFileName(std::string_view entryId) {
  return std::string(kPrefix) + std::string(entryId) + std::string(kBalanceSuffix);
}

std::optional<std::string> BalanceEntryIdOf(std::string_view fileName) {
  if (fileName.size() <= kPrefix.size() + kBalanceSuffix.size() || !fileName.starts_with(kPrefix) ||
      !fileName.ends_with(kBalanceSuffix))
    return std::nullopt;
  std::string id(
      fileName.substr(kPrefix.size(), fileName.size() - kPrefix.size() - kBalanceSuffix.size()));
  if (!IsPlainRecordId(id) || TrimmedRecordId(id).size() != id.size())
    return std::nullopt;
  return id;
}

std::string EncodeBalance(const BalanceEntry& entry) {
  std::string out;
  AppendArchiveString(out, entry.account);
  AppendArchiveDate(out, entry.date);
  AppendLittleEndian<double>(out, entry.amount);
  AppendArchiveString(out, entry.source);
  if (!entry.bankAccount.empty())
    AppendArchiveString(out, entry.bankAccount);
  return out;
}

Result<BalanceEntry> DecodeBalance(std::string_view entryId, std::string_view bytes) {
  ArchiveReader in(bytes);
  BalanceEntry entry;
  entry.entryId = std::string(entryId);
  if (!(in.ReadString(entry.account) && in.ReadDate(entry.date) && in.Read(entry.amount) &&
        in.ReadString(entry.source)))
    return Status::Corrupt(in.error());
  if (!in.Rest().empty() && !in.ReadString(entry.bankAccount))
    return Status::Corrupt(in.error());
  if (!in.Rest().empty())
    return Status::Corrupt("bytes follow the balance");
  if (!entry.date.IsValid())
    return Status::Corrupt("the date is not valid");
  if (!std::isfinite(entry.amount))
    return Status::Corrupt("the amount is not a number");
  if (!AmountWithinLimit(entry.amount))
    return Status::Corrupt(AmountBeyondLimitText("the balance"));
  return entry;
}

}  // namespace paylark
