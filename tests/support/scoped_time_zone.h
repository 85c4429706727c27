#pragma once

#include <ctime>

#include "tests/support/scoped_variable.h"

namespace paylark::testing {

// Sets the process's time zone (TZ) for a test and puts the previous one back afterwards.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) : zone_("TZ", zone) { tzset(); }
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;
  ~ScopedTimeZone() { tzset(); }

 private:
  ScopedVariable zone_;
};

}  // namespace paylark::testing
