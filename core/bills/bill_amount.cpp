#include "core/bills/bill_amount.h"

namespace paylark {
namespace {

constexpr Cents kLargestCents = 99'999'999'999;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::optional<Cents> ParseBillAmount(std::string_view text) {
  const std::size_t point = text.find('.');
  const std::string_view whole = text.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
  if (whole.empty() || whole.size() > 9 || (point != std::string_view::npos && fraction.empty()))
    return std::nullopt;
  Cents cents = 0;
  for (const char c : whole) {
    if (!IsDigit(c))
      return std::nullopt;
    cents = cents * 10 + (c - '0');
  }
  for (std::size_t i = 0; i < fraction.size(); ++i) {
    const char c = fraction[i];
    if (!IsDigit(c) || (i >= 2 && c != '0'))
      return std::nullopt;
  }
  for (std::size_t i = 0; i < 2; ++i)
    cents = cents * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
  return cents <= kLargestCents ? std::optional<Cents>(cents) : std::nullopt;
}

}  // namespace paylark
