// libFuzzer target: any bytes as an OFX statement, through LibOFX. Reading never crashes or
// loops, and a statement read has valid booking dates and an ID for each transaction. LibOFX
// parses its DTD again for every statement (tens of milliseconds), so the CAMT.053 and CSV
// readers have a target of their own that runs a hundred times faster.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/statements/ofx_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const paylark::Result<paylark::Statement> statement =
      paylark::ReadOfxStatement(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!statement.ok())
    return 0;
  for (const paylark::StatementTransaction& transaction : statement.value().transactions) {
    if (!transaction.bookingDate.IsValid() || transaction.id.empty())
      __builtin_trap();
  }
  return 0;
}
