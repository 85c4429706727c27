#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace paylark::testing {

// Sets the process's time zone (TZ) for a test and puts the previous one back afterwards.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* previous = std::getenv("TZ"))
      previous_ = previous;
    setenv("TZ", zone, 1);
    tzset();
  }
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;
  ~ScopedTimeZone() {
    if (previous_)
      setenv("TZ", previous_->c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }

 private:
  std::optional<std::string> previous_;
};

}  // namespace paylark::testing
