#pragma once

#include <optional>
#include <string_view>

#include "core/base/ole_date_time.h"

namespace paylark {

// The day a bank or a bill writes as "YYYYMMDD" or "YYYY-MM-DD", taken as written: no time zone
// moves it. Empty for any other text, and for a day no calendar has ("20261409").
std::optional<OleDateTime> WrittenDate(std::string_view text);

}  // namespace paylark
