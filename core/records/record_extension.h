#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/base/status.h"
#include "core/records/due_record.h"

namespace paylark {

// The extension block that may follow seriesId in a record file: "PLX1", then tagged fields
// (docs/record-format.md). A record without payment details or kept fields has no block, so its
// file is exactly the eleven fields. Each payment is a group of tags 1 to 5 in ascending order; a
// payment tag not above the one before it starts the next payment.
inline constexpr std::string_view kExtensionMagic = "PLX1";

enum class ExtensionTag : std::uint8_t {
  kPaidOn = 1,
  kPaidAmount = 2,
  kPaymentReference = 3,
  kCounterparty = 4,
  kCounterpartyAccount = 5,
  kPayeeAccount = 6,
  kCreditorReference = 7,
  kRenewsOn = 8,
  kNoticePeriod = 9,
  // The bytes of a block that could not be read, kept when the due gets payment details.
  kDamagedBlock = 255,
};

// Appends the record's block, or nothing when it has none. A damaged block is written back byte
// for byte while the record has nothing else to add; otherwise it travels inside a new block.
void AppendExtension(std::string& out, const DueRecord& record);

// Reads the bytes after seriesId into the record's payment details and kept fields. Bytes that
// are not a readable block leave the details empty and are kept in damagedExtension.
void ReadExtension(std::string_view block, DueRecord& record);

// Why the bytes after seriesId are not a readable block; Ok for a readable or empty one.
Status CheckExtension(std::string_view block);

}  // namespace paylark
