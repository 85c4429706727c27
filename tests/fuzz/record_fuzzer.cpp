// libFuzzer target: any bytes as a record file. Decoding never crashes or reads out of bounds,
// a decoded record can be shown, and what is written back reads back as the same record.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/base/format.h"
#include "core/records/due_details.h"
#include "core/records/record_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const paylark::Result<paylark::DueRecord> record = paylark::DecodeRecord(bytes);
  if (!record.ok())
    return 0;
  for (const paylark::DetailRow& row : paylark::DueDetails(record.value()))
    (void)row;
  (void)paylark::FormatDate(record.value().dueDate, "dddd, MMMM d, yyyy hh:mm:ss tt");
  const paylark::Result<paylark::DueRecord> again =
      paylark::DecodeRecord(paylark::EncodeRecord(record.value()));
  if (!again.ok() || !(again.value() == record.value()))
    __builtin_trap();
  return 0;
}
