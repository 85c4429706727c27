#include "core/forecast/low_balance_warning.h"

#include "core/base/format.h"
#include "core/forecast/forecast.h"
#include "core/forecast/newest_balances.h"

namespace paylark {

std::optional<LowBalanceWarning> FindLowBalanceWarning(std::span<const BalanceEntry> balances,
                                                       const DueMap& dues, const OleDateTime& now,
                                                       Cents level, int days) {
  std::optional<LowBalanceWarning> earliest;
  for (const auto& [key, entry] : NewestBalances(balances, std::nullopt)) {
    const ForecastRequest request{entry->account, now, days, level, kDefaultEstimate};
    const Forecast forecast = MakeForecast(request, balances, dues);
    if (forecast.firstBelow && (!earliest || *forecast.firstBelow < earliest->date))
      earliest = LowBalanceWarning{entry->account, level, *forecast.firstBelow};
  }
  return earliest;
}

std::string LowBalanceWarningText(const LowBalanceWarning& warning) {
  return "Balance below " + FormatAmount(FromCents(warning.level)) + " on " +
         FormatDate(warning.date, "d MMM yyyy");
}

}  // namespace paylark
