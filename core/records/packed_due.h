#pragma once

#include <array>
#include <cstdint>
#include <span>
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

// A DueRecord as the record map stores it, in a ninth of its memory: dates and amount as they
// are, the ID as a number where it can be one, the date statuses, type and paid flag in a byte
// each, and the texts and the encoded extension block as length-prefixed bytes in an arena (none
// at all when every text is empty, there is no block and the ID is a number). A status, type or
// flag outside a byte's range makes the four stand whole at the end of the arena's bytes. The map
// image copies this layout and the texts' encoding as they lie: a change to either raises
// kMapImageVersion.
struct PackedFields {
  static constexpr std::int8_t kWhole = INT8_MIN;

  // The texts go to `arena`.
  static PackedFields Of(const DueRecord& record, TextArena& arena);
  // The same from the fields and the record's encoded extension block.
  static PackedFields Of(const DueView& due, std::string_view extension, TextArena& arena);
  // The bytes of the arena that Of takes for the due's texts; 0 for none.
  static std::size_t TextBytes(const DueView& due, std::string_view extension);

  double startValue = 0.0;
  double dueValue = 0.0;
  double amount = 0.0;
  PackedId id;
  std::uint32_t texts = 0;      // 1 + the texts' offset in the arena; 0 for none
  std::int8_t startStatus = 0;  // kWhole: the four stand whole after the texts
  std::int8_t dueStatus = 0;
  std::int8_t type = 0;
  std::int8_t paid = 0;
};

// A packed record read where it is stored: its fields and its texts in the arena, which must
// outlive the view.
class PackedDue {
 public:
  // The texts a pass over every due reads, found in one walk over them.
  struct TextViews {
    std::string_view title;
    std::string_view account;
    std::string_view seriesId;
    std::string_view extension;  // the encoded payment details; empty when there are none
  };

  // `extension` says whether the record has an extension block, which the map keeps beside it.
  PackedDue(const PackedFields& fields, const TextArena& arena, bool extension)
      : fields_(&fields),
        texts_(fields.texts ? arena.At(fields.texts - 1) : nullptr),
        extension_(extension) {}

  // Fills `record` (its strings keep their capacity, so a reused record allocates rarely).
  void UnpackInto(DueRecord& record) const;
  DueRecord Unpack() const;

  bool HasId(std::string_view recordId, const PackedId& packed) const;
  const PackedId& id() const { return fields_->id; }
  // The ID when it is not a number; empty when it is.
  std::string_view TextId() const;

  // What sums and balances read, without unpacking the texts.
  OleDateTime DueDate() const;
  double amount() const { return fields_->amount; }
  std::int32_t type() const;
  bool IsPaid() const;
  std::string_view Title() const;
  std::string_view Account() const;
  void RecordIdInto(std::string& recordId) const;
  // The ID without a copy: a number's digits are written into `digits`, a text ID is viewed
  // where it is stored.
  std::string_view RecordIdIn(std::span<char, PackedId::kMostDigits> digits) const;
  // The encoded payment details; empty when the record has none.
  std::string_view ExtensionBlock() const;
  // Whether ExtensionBlock is not empty, known without reading the texts.
  bool HasExtension() const { return extension_; }
  TextViews ReadTexts() const;

 private:
  // The statuses, type and paid flag, in that order.
  std::array<std::int32_t, 4> Small() const;

  const PackedFields* fields_;
  const char* texts_;
  bool extension_;
};

}  // namespace paylark
