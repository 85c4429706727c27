#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "core/base/ole_date_time.h"
#include "core/records/due_record.h"

namespace paylark {

// A record ID as the record map compares it: an ID of 1 to 19 digits is a number and its digit
// count (so that leading zeros survive), any other ID is kept as text.
struct PackedId {
  std::uint64_t number = 0;
  std::uint8_t digits = 0;  // 0: the ID is text

  static PackedId Of(std::string_view recordId);
};

// A DueRecord in about a third of its memory: dates, amount and flags as they are, the ID as a
// number where it can be one, and the texts in one block of length-prefixed bytes (none at all
// when every text is empty and the ID is a number).
class PackedDue {
 public:
  PackedDue() = default;
  explicit PackedDue(const DueRecord& record);

  // Fills `record` (its strings keep their capacity, so a reused record allocates rarely).
  void UnpackInto(DueRecord& record) const;
  DueRecord Unpack() const;

  bool HasId(std::string_view recordId, const PackedId& packed) const;
  const OleDateTime& dueDate() const { return dueDate_; }

 private:
  std::string_view TextId() const;

  OleDateTime startDate_;
  OleDateTime dueDate_;
  double amount_ = 0.0;
  std::uint64_t idNumber_ = 0;
  std::unique_ptr<char[]> texts_;
  std::int32_t type_ = kTypeBusiness;
  std::int32_t paid_ = 0;
  std::uint8_t idDigits_ = 0;
};

}  // namespace paylark
