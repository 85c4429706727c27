#pragma once

#include <optional>
#include <string_view>

#include "core/base/cents.h"

namespace paylark {

// An amount as e-invoices and payment codes write it: digits with a point before the decimals
// ("1949.75", "12.5", "80"), never a sign, a comma or a group mark, whatever the locale. Empty for
// any other text, for more than two decimals that are not zeros, and beyond 999,999,999.99.
std::optional<Cents> ParseBillAmount(std::string_view text);

}  // namespace paylark
