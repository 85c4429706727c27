#include <algorithm>
#include <charconv>
#include <ostream>

#include "cli/commands.h"
#include "cli/date_time_text.h"
#include "cli/exit_code.h"
#include "cli/forecast_text.h"
#include "cli/json_writer.h"
#include "core/base/format.h"
#include "core/forecast/forecast.h"
#include "settings/user_settings.h"

namespace paylark::cli {
namespace {

constexpr int kDefaultHorizonDays = 90;
constexpr int kMaxHorizonDays = 3660;

std::optional<int> ParseDays(const std::string& text) {
  int days = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), days);
  if (error != std::errc() || end != text.data() + text.size() || days < 1 ||
      days > kMaxHorizonDays)
    return std::nullopt;
  return days;
}

std::string DayText(const OleDateTime& day) {
  return IsoDateTime(day).substr(0, 10);
}

std::string Money(Cents cents) {
  return FormatAmount(FromCents(cents));
}

// A day whose balance counts an estimate says so.
std::string DayJson(const DayBalance& day, bool estimated = false) {
  return "{\"date\": " + JsonString(DayText(day.date)) +
         ", \"balance\": " + JsonNumber(FromCents(day.balance)) +
         (estimated ? ", \"estimated\": true}" : "}");
}

bool AnyEstimateOn(const Forecast& forecast, const OleDateTime& day) {
  return std::any_of(forecast.items.begin(), forecast.items.end(),
                     [&](const ForecastItem& item) { return item.estimated && item.date == day; });
}

void PrintJson(const Forecast& forecast, const ForecastRequest& request, std::ostream& out) {
  out << "{\"account\": " << (request.account ? JsonString(*request.account) : "null")
      << ", \"today\": " << JsonString(DayText(request.now)) << ", \"start\": {\"date\": "
      << (forecast.startDate ? JsonString(DayText(*forecast.startDate)) : "null")
      << ", \"balance\": " << JsonNumber(FromCents(forecast.startBalance))
      << "}, \"balanceToday\": " << JsonNumber(FromCents(forecast.balanceToday)) << ", \"days\": [";
  for (std::size_t i = 0; i < forecast.days.size(); ++i) {
    const DayBalance& day = forecast.days[i];
    out << (i == 0 ? "" : ", ") << DayJson(day, AnyEstimateOn(forecast, day.date));
  }
  out << "], \"low\": " << DayJson(forecast.low) << ", \"firstBelow\": "
      << (forecast.firstBelow ? JsonString(DayText(*forecast.firstBelow)) : "null")
      << ", \"warnBelow\": " << JsonNumber(FromCents(request.warnBelow)) << ", \"nextIncome\": ";
  if (!forecast.nextIncome) {
    out << "null}\n";
    return;
  }
  const NextIncome& next = *forecast.nextIncome;
  out << "{\"date\": " << JsonString(DayText(next.date)) << ", \"dues\": [";
  for (std::size_t i = 0; i < next.dueItems.size(); ++i)
    out << (i == 0 ? "" : ", ") << JsonString(forecast.items[next.dueItems[i]].recordId);
  out << "], \"total\": " << JsonNumber(FromCents(next.total))
      << ", \"left\": " << JsonNumber(FromCents(next.left)) << "}}\n";
}

// The balance line, the low point and the first day below the warning level, then each day
// whose balance changes with its dues and incomes.
void PrintPlain(const Forecast& forecast, const ForecastRequest& request, std::ostream& out) {
  if (forecast.startDate)
    out << "Balance on " << DayText(*forecast.startDate) << ": " << Money(forecast.startBalance);
  else
    out << "No balance entered: starting at " << Money(0);
  out << "; today " << Money(forecast.balanceToday) << '\n';
  out << "Lowest: " << Money(forecast.low.balance) << " on " << DayText(forecast.low.date) << '\n';
  if (forecast.firstBelow)
    out << "Below " << Money(request.warnBelow) << " on " << DayText(*forecast.firstBelow) << '\n';
  else
    out << "Never below " << Money(request.warnBelow) << '\n';
  auto item = forecast.items.begin();
  for (const DayBalance& day : forecast.days) {
    std::string names;
    for (; item != forecast.items.end() && item->date == day.date; ++item) {
      names += names.empty() ? "" : "; ";
      names += std::string(item->title) + " " + (item->estimated ? "\u2248" : "") +
               (item->amount > 0 ? "+" : "") + Money(item->amount);
    }
    if (!names.empty())
      out << DayText(day.date) << '\t' << names << '\t' << Money(day.balance) << '\n';
  }
}

}  // namespace

int RunForecast(Arguments& arguments, CommandContext& context) {
  ForecastRequest request;
  request.account = TakeAccount(arguments);
  request.now = context.clock.Now();
  request.horizonDays = kDefaultHorizonDays;
  request.estimate = EstimateNamed(UserSettings::Read(settings::kForecastEstimate).toStdString());
  if (const auto days = arguments.TakeValue("--days")) {
    const std::optional<int> parsed = ParseDays(*days);
    if (!parsed)
      return UsageError(context, "--days must be a whole number from 1 to 3660");
    request.horizonDays = *parsed;
  }
  const bool json = arguments.TakeFlag("--json");
  if (auto problem = arguments.Finish())
    return UsageError(context, *problem);
  request.warnBelow = Cents{UserSettings::Read(settings::kForecastWarnBelow)} * 100;
  BalanceBook book(context.store.files(), RecordsFolderPath(context.store.workingDirectory()));
  LoadBalances(context, book);
  const Forecast forecast = MakeForecast(request, book.entries(), context.store.map());
  if (json)
    PrintJson(forecast, request, context.out);
  else
    PrintPlain(forecast, request, context.out);
  return kExitSuccess;
}

}  // namespace paylark::cli
