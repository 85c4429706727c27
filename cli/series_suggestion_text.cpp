#include "cli/series_suggestion_text.h"

#include "cli/date_time_text.h"
#include "cli/json_writer.h"
#include "cli/printable_text.h"
#include "core/base/format.h"

namespace paylark::cli {
namespace {

std::string DayText(const OleDateTime& date) {
  return IsoDateTime(date).substr(0, 10);
}

std::string AmountText(const SeriesSuggestion& suggestion) {
  const std::string sign = suggestion.income ? "+" : "";
  if (!suggestion.variable)
    return sign + FormatAmount(FromCents(suggestion.amount));
  return sign + FormatAmount(FromCents(suggestion.minimum)) + " to " + sign +
         FormatAmount(FromCents(suggestion.maximum));
}

// The pattern as the series command takes it: --kind, --every and the kind's own options.
std::string PatternJson(const SeriesSuggestion& suggestion) {
  const Cadence& cadence = suggestion.cadence;
  const RecurrencePattern& pattern = suggestion.pattern;
  const std::string weekend =
      ", \"weekend\": " +
      JsonString(kWeekendShiftWords[static_cast<std::size_t>(pattern.weekendShift)]);
  if (cadence.unit == CadenceUnit::kWeeks) {
    const std::string weekday(
        kWeekdayNames[static_cast<std::size_t>(cadence.weekday - 1)].substr(0, 3));
    return "{\"kind\": \"week\", \"every\": " + std::to_string(cadence.every) +
           ", \"on\": " + JsonString(weekday) + weekend + "}";
  }
  if (pattern.kind == RecurrenceKind::kYear) {
    return "{\"kind\": \"year\", \"every\": 1, \"month\": " +
           JsonString(kMonthNames[static_cast<std::size_t>(pattern.yearDateMonth)]) +
           ", \"day\": " + pattern.yearDay + weekend + "}";
  }
  return "{\"kind\": \"month\", \"every\": " + std::to_string(cadence.every) +
         ", \"day\": " + std::to_string(cadence.day) + weekend + "}";
}

}  // namespace

std::string SuggestionLine(std::size_t number, const SeriesSuggestion& suggestion) {
  return std::to_string(number) + '\t' + Printable(suggestion.title) + '\t' +
         suggestion.patternText + '\t' + DayText(suggestion.next) + '\t' + AmountText(suggestion) +
         "\tseen " + std::to_string(suggestion.seen.size()) + " times\t" +
         Printable(suggestion.account);
}

std::string SuggestionJson(std::size_t number, const SeriesSuggestion& suggestion,
                           const std::string& extra) {
  std::string transactions;
  for (const StatementTransaction& transaction : suggestion.seen)
    transactions += (transactions.empty() ? "" : ", ") + JsonString(transaction.id);
  return "{\"n\": " + std::to_string(number) + ", \"title\": " + JsonString(suggestion.title) +
         ", \"payTo\": " + JsonString(suggestion.payTo) + ", \"account\": " +
         (suggestion.account.empty() ? std::string("null") : JsonString(suggestion.account)) +
         ", \"type\": " + JsonString(TypeText(suggestion.income ? kTypeIncome : kTypeBusiness)) +
         ", \"pattern\": " + PatternJson(suggestion) +
         ", \"next\": " + JsonString(DayText(suggestion.next)) +
         ", \"amount\": " + JsonNumber(FromCents(suggestion.amount)) +
         ", \"min\": " + JsonNumber(FromCents(suggestion.minimum)) +
         ", \"max\": " + JsonNumber(FromCents(suggestion.maximum)) +
         ", \"seen\": " + std::to_string(suggestion.seen.size()) + ", \"transactions\": [" +
         transactions + "]" + extra + "}";
}

std::string HistoryRange(const SeriesSuggestions& found) {
  return "from " + FormatDate(found.firstBooking, "d MMM yyyy") + " to " +
         FormatDate(found.lastBooking, "d MMM yyyy");
}

}  // namespace paylark::cli
