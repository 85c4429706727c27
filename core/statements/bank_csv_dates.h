#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/ole_date_time.h"

namespace paylark {

// How a bank writes its dates: the order of the parts, what separates them and the year's digits.
struct BankDateForm {
  enum class Order { kDayMonthYear, kMonthDayYear, kYearMonthDay };
  Order order = Order::kYearMonthDay;
  char separator = '-';
  int yearDigits = 4;

  // "yyyy-mm-dd", "dd.mm.yyyy", "mm/dd/yy", ...
  std::string Name() const;
  static std::optional<BankDateForm> FromName(std::string_view name);
  bool operator==(const BankDateForm&) const = default;
};

// The date at 00:00; a time after a blank ("03.11.2026 10:15") is passed over. A two-digit year
// is taken as 20yy. Empty when the text is not in this form or is no calendar date.
std::optional<OleDateTime> ParseBankDate(std::string_view text, const BankDateForm& form);

// Whether a field could be a date at all: fields without a digit are labels or empty.
bool HasDigit(std::string_view text);

// The form that every date-like field of the columns is in, when one is: columns whose every
// non-empty field has the form's shape vote for it, one field in the shape that is no date
// (13/25/2026) rules a form out; fields without a digit are passed over. Where day and month could
// be either way round, the order that keeps the first date column in date order wins, then the day
// first.
std::optional<BankDateForm> DetectBankDateForm(
    const std::vector<std::vector<std::string>>& columns);

}  // namespace paylark
