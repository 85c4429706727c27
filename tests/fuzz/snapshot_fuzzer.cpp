// libFuzzer target: any bytes as a record snapshot. Decoding never crashes or reads out of
// bounds; a snapshot it accepts has its entries sorted by name, views only into the bytes given,
// and what is encoded from them decodes to the same entries.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/records/record_snapshot.h"

namespace {

constexpr std::string_view kFolder = "/home/ada/Bills/Paylark Files";

bool Inside(std::string_view part, std::string_view whole) {
  return part.empty() ||
         (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const auto entries = paylark::DecodeSnapshot(bytes, kFolder);
  if (!entries.ok())
    return 0;
  std::string_view previous;
  for (const paylark::SnapshotEntry& entry : entries.value()) {
    if (!Inside(entry.name, bytes) || !Inside(entry.bytes, bytes) || entry.name < previous)
      __builtin_trap();
    previous = entry.name;
  }
  const std::string again = paylark::EncodeSnapshot(kFolder, entries.value());
  const auto decoded = paylark::DecodeSnapshot(again, kFolder);
  if (!decoded.ok() || decoded.value().size() != entries.value().size())
    __builtin_trap();
  for (std::size_t i = 0; i < decoded.value().size(); ++i) {
    const paylark::SnapshotEntry& was = entries.value()[i];
    const paylark::SnapshotEntry& is = decoded.value()[i];
    if (was.name != is.name || was.inode != is.inode || was.changeTime != is.changeTime ||
        was.bytes != is.bytes)
      __builtin_trap();
  }
  return 0;
}
