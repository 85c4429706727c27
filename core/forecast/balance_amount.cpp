#include "core/forecast/balance_amount.h"

#include "core/base/text_encoding.h"

namespace paylark {

std::variant<double, Message> ParseBalanceAmount(std::string_view text, const AmountParser& parse) {
  const std::string_view trimmed = TrimWhiteSpace(text);
  const bool negative = trimmed.starts_with('-');
  auto parsed = parse(negative ? trimmed.substr(1) : trimmed);
  if (auto* amount = std::get_if<double>(&parsed); amount && negative)
    *amount = -*amount;
  return parsed;
}

}  // namespace paylark
