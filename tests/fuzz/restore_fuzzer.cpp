// libFuzzer target: any bytes as a backup zip handed to restore. Reading never crashes, never
// reads out of bounds and never allocates beyond the record limit per entry, whatever sizes the
// zip's headers claim; every record it gives writes back and reads back as itself.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/records/record_codec.h"
#include "core/sync/backup_zip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const paylark::Result<std::vector<paylark::DueRecord>> records =
      paylark::ReadBackupBytes(bytes, "fuzzed.zip");
  if (!records.ok())
    return 0;
  for (const paylark::DueRecord& record : records.value()) {
    const paylark::Result<paylark::DueRecord> again =
        paylark::DecodeRecord(paylark::EncodeRecord(record));
    if (!again.ok() || !(again.value() == record))
      __builtin_trap();
  }
  return 0;
}
