#pragma once

#include "core/base/ole_date_time.h"

namespace paylark {

// Where "now" comes from. Everything that needs the current local date and time asks a Clock,
// so tests can fix it.
class Clock {
 public:
  virtual ~Clock() = default;
  // The current local wall-clock time, to the whole second.
  virtual OleDateTime Now() const = 0;
};

class SystemClock final : public Clock {
 public:
  OleDateTime Now() const override;
};

// A clock that stands still until it is set or advanced.
class FixedClock final : public Clock {
 public:
  explicit FixedClock(OleDateTime now) : now_(now) {}
  OleDateTime Now() const override { return now_; }
  void Set(OleDateTime now) { now_ = now; }
  void AdvanceSeconds(int seconds) { now_ = now_.AddSeconds(seconds).value_or(now_); }

 private:
  OleDateTime now_;
};

}  // namespace paylark
