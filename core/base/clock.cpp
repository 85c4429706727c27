#include "core/base/clock.h"

#include <ctime>

namespace paylark {

OleDateTime SystemClock::Now() const {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return OleDateTime::FromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                local.tm_hour, local.tm_min, local.tm_sec % 60)
      .value_or(OleDateTime());
}

}  // namespace paylark
