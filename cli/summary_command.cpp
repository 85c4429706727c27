#include <charconv>
#include <cstdio>
#include <ostream>

#include "cli/commands.h"
#include "cli/exit_code.h"
#include "cli/json_writer.h"
#include "core/base/cents.h"
#include "core/base/format.h"
#include "core/records/year_summary.h"

namespace paylark::cli {
namespace {

std::optional<int> ParseYear(const std::string& text) {
  int year = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), year);
  if (error != std::errc() || end != text.data() + text.size() || text.size() != 4 || year < 100)
    return std::nullopt;
  return year;
}

std::string MonthLabel(int year, int monthIndex) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d", year, monthIndex + 1);
  return text;
}

void PrintSums(const AmountSums& sums, std::ostream& out) {
  out << '\t' << FormatAmount(FromCents(sums.paid)) << '\t' << FormatAmount(FromCents(sums.unpaid))
      << '\t' << FormatAmount(FromCents(sums.total)) << '\n';
}

std::string SumsJson(const AmountSums& sums) {
  return "\"paid\": " + JsonNumber(FromCents(sums.paid)) +
         ", \"unpaid\": " + JsonNumber(FromCents(sums.unpaid)) +
         ", \"total\": " + JsonNumber(FromCents(sums.total));
}

void PrintByMonth(const YearSummary& summary, bool json, std::ostream& out) {
  if (!json) {
    for (int month = 0; month < 12; ++month) {
      out << MonthLabel(summary.year, month);
      PrintSums(summary.months[static_cast<std::size_t>(month)], out);
    }
    out << summary.year;
    PrintSums(summary.wholeYear, out);
    return;
  }
  out << "{\"year\": " << summary.year << ", \"by\": \"month\", \"rows\": [";
  for (int month = 0; month < 12; ++month) {
    out << (month == 0 ? "" : ", ") << "{\"month\": " << JsonString(MonthLabel(summary.year, month))
        << ", " << SumsJson(summary.months[static_cast<std::size_t>(month)]) << "}";
  }
  out << "], " << SumsJson(summary.wholeYear) << "}\n";
}

void PrintByPayee(const YearSummary& summary, bool json, std::ostream& out) {
  if (!json) {
    for (const PayeeSums& payee : summary.payees) {
      out << payee.payTo << '\t' << payee.dues;
      PrintSums(payee.sums, out);
    }
    return;
  }
  out << "{\"year\": " << summary.year << ", \"by\": \"payee\", \"rows\": [";
  for (std::size_t i = 0; i < summary.payees.size(); ++i) {
    const PayeeSums& payee = summary.payees[i];
    out << (i == 0 ? "" : ", ") << "{\"payTo\": " << JsonString(payee.payTo)
        << ", \"dues\": " << payee.dues << ", " << SumsJson(payee.sums) << "}";
  }
  out << "], " << SumsJson(summary.wholeYear) << "}\n";
}

}  // namespace

int RunSummary(Arguments& arguments, CommandContext& context) {
  const auto yearText = arguments.TakeValue("--year");
  const std::optional<int> year = yearText ? ParseYear(*yearText) : std::nullopt;
  if (!year)
    return UsageError(context, "summary needs --year YYYY");
  const std::string by = arguments.TakeValue("--by").value_or("month");
  if (by != "month" && by != "payee")
    return UsageError(context, "--by must be month or payee");
  const bool json = arguments.TakeFlag("--json");
  if (auto problem = arguments.Finish())
    return UsageError(context, *problem);
  const YearSummary summary = SummarizeYear(context.store, *year);
  if (by == "month") {
    PrintByMonth(summary, json, context.out);
  } else {
    PrintByPayee(summary, json, context.out);
  }
  return kExitSuccess;
}

}  // namespace paylark::cli
