#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/records/due_record.h"
#include "core/records/series_index.h"

namespace paylark {

struct DetailRow {
  std::string_view heading;
  std::string value;
};

inline constexpr std::array<std::string_view, 8> kDetailHeadings = {
    "Title", "Start Date", "Due Date", "Pay To", "Account", "Amount", "Type", "Status"};

// The eight rows the details bar shows for a due, in the process locale: dates as the short date,
// a blank and the time without seconds; the amount in the currency form; the status "Paid",
// "Unpaid" or, for a due paid in parts, "40.00 of 100.00 paid".
std::array<DetailRow, 8> DueDetails(const DueRecord& record);

// The row after the eight for a series member: "Series" with "3 of 12".
inline constexpr std::string_view kSeriesHeading = "Series";
// "n of N"; empty for a due outside a series.
std::string SeriesPositionText(const std::optional<SeriesPosition>& position);

// The rows after the series row for a paid due: "Paid on" when it has that date, "Paid amount"
// when it differs from the amount, "Reference" when it has one; then, for any due whose bill gave
// them, "Payee IBAN" and "Payee reference" (what to pay to and with).
inline constexpr std::string_view kPaidOnHeading = "Paid on";
inline constexpr std::string_view kPaidAmountHeading = "Paid amount";
inline constexpr std::string_view kReferenceHeading = "Reference";
inline constexpr std::string_view kPayeeAccountHeading = "Payee IBAN";
inline constexpr std::string_view kPayeeReferenceHeading = "Payee reference";
std::vector<DetailRow> PaymentDetails(const DueRecord& record);

// The rows for a contract, seen on `today`: "Renews on" with the renewal date and "Contract" with
// "Cancel by 30 Sep 2026" or "Cancel now".
inline constexpr std::string_view kRenewsOnHeading = "Renews on";
inline constexpr std::string_view kCancelByHeading = "Contract";
std::vector<DetailRow> ContractDetails(const DueRecord& record, const OleDateTime& today);

// The short date, a blank and the time without seconds, as the month list and details show it.
std::string DateAndTimeText(const OleDateTime& dateTime);

}  // namespace paylark
