#pragma once

#include <cstdint>
#include <string_view>

#include "core/base/ole_date_time.h"
#include "core/records/due_record.h"
#include "core/records/due_view.h"
#include "core/records/text_arena.h"

namespace paylark {

// A record ID as the record map compares it: an ID of 1 to 17 digits is one 64-bit key, the
// number in its low 59 bits and the digit count (so that leading zeros survive) above them; any
// other ID is kept as text and has the key 0.
struct PackedId {
  static constexpr int kNumberBits = 59;
  static constexpr std::size_t kMostDigits = 17;  // 10^17 - 1 < 2^59

  std::uint64_t key = 0;

  static PackedId Of(std::string_view recordId);
  bool IsNumber() const { return key != 0; }
  std::uint64_t number() const { return key & ((std::uint64_t{1} << kNumberBits) - 1); }
  std::size_t digits() const { return static_cast<std::size_t>(key >> kNumberBits); }
};

// A DueRecord in about a quarter of its memory: dates, amount and flags as they are, the ID as a
// number where it can be one, and the texts and the encoded extension block as length-prefixed
// bytes in an arena (none at all when every text is empty, there is no block and the ID is a
// number).
class PackedDue {
 public:
  PackedDue() = default;
  // The texts go to `arena`, which must outlive every use of the packed record.
  PackedDue(const DueRecord& record, TextArena& arena);
  // The same from the fields and the record's encoded extension block.
  PackedDue(const DueView& due, std::string_view extension, TextArena& arena);

  // Fills `record` (its strings keep their capacity, so a reused record allocates rarely).
  void UnpackInto(DueRecord& record) const;
  DueRecord Unpack() const;

  bool HasId(std::string_view recordId, const PackedId& packed) const;
  const PackedId& id() const { return id_; }
  // The ID when it is not a number; empty when it is.
  std::string_view TextId() const;

  // What sums and balances read, without unpacking the texts.
  OleDateTime DueDate() const {
    return OleDateTime(dueValue_, static_cast<OleDateTime::Status>(dueStatus_));
  }
  double amount() const { return amount_; }
  std::int32_t type() const { return type_; }
  bool IsPaid() const { return paid_ != 0; }
  std::string_view Title() const;
  std::string_view Account() const;
  void RecordIdInto(std::string& recordId) const;
  // The encoded payment details; empty when the record has none.
  std::string_view ExtensionBlock() const;

 private:
  // The dates' values and statuses apart, so that no padding follows each.
  double startValue_ = 0.0;
  double dueValue_ = 0.0;
  double amount_ = 0.0;
  PackedId id_;
  const char* texts_ = nullptr;
  std::int32_t startStatus_ = 0;
  std::int32_t dueStatus_ = 0;
  std::int32_t type_ = kTypeBusiness;
  std::int32_t paid_ = 0;
};

}  // namespace paylark
