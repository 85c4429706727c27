#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/base/status.h"
#include "core/forecast/balance_entry.h"

namespace paylark {

// A balance entry's file in the records folder: "balance<entry ID>.bal", holding the account,
// the date, the amount and the source in the record files' field encodings, then the bank's
// account ID where a statement gave one (a file without it ends after the source), nothing after.
// Programs that read only ".due" files pass it by.
std::string BalanceFileName(std::string_view entryId);
// The entry ID of a balance file's name, or empty for any other name.
std::optional<std::string> BalanceEntryIdOf(std::string_view fileName);

std::string EncodeBalance(const BalanceEntry& entry);
// Corrupt for bytes that end early, run on past the source, or hold no valid date or a finite
// amount: a damaged or foreign file is never taken for a balance.
Result<BalanceEntry> DecodeBalance(std::string_view entryId, std::string_view bytes);

}  // namespace paylark
