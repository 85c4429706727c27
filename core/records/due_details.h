#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/records/due_record.h"

namespace paylark {

struct DetailRow {
  std::string_view heading;
  std::string value;
};

inline constexpr std::array<std::string_view, 8> kDetailHeadings = {
    "Title", "Start Date", "Due Date", "Pay To", "Account", "Amount", "Type", "Status"};

// The eight rows the details bar shows for a due, in the process locale: dates as the short date,
// a blank and the time without seconds; the amount in the currency form.
std::array<DetailRow, 8> DueDetails(const DueRecord& record);

// The short date, a blank and the time without seconds, as the month list and details show it.
std::string DateAndTimeText(const OleDateTime& dateTime);

}  // namespace paylark
