#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/base/clock.h"

namespace paylark {

// Gives record and series IDs: the local date and time to the second, on a count of seconds that
// only moves forward, so that one store never gives an ID twice even when the clock goes back.
class RecordIds {
 public:
  using Refuses = std::function<bool(const std::string&)>;

  explicit RecordIds(const Clock& clock) : clock_(clock) {}

  // "<yyyymmddhhmmss><suffix, two digits>", at the first second from now that `taken` refuses not.
  std::string NextRecordId(int suffix, const Refuses& taken);
  // Each of several dues that reach the disk together needs a second of its own.
  void SkipSecond() { ++recordSecond_; }
  // A series member's suffix: 1 to 99, then from 1 again.
  int NextMemberSuffix();
  // "recId<yyyymmddhhmmss>", at the first second from now that `taken` refuses not.
  std::string NextSeriesId(const Refuses& taken);

 private:
  const Clock& clock_;
  int memberCounter_ = 0;
  std::int64_t recordSecond_ = 0;
  std::int64_t seriesSecond_ = 0;
};

}  // namespace paylark
