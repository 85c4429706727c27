#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace paylark {

// IDs for bookings whose bank gives none: a hash of the booking's fields plus its occurrence
// number among identical bookings of the same file ("3f9c...e1-1", "3f9c...e1-2"), so the same
// rows of a later, overlapping statement get the same IDs and two identical coffees on one day
// stay two.
class TransactionFingerprints {
 public:
  std::string Next(const std::vector<std::string>& fields);

 private:
  std::map<std::uint64_t, int> occurrences_;
};

}  // namespace paylark
