// libFuzzer target: any bytes as a CSV file to import. Reading never crashes, loops or reads out
// of bounds, every row is numbered in order, and the import's plan accounts for every row.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/base/clock.h"
#include "core/exchange/csv_import.h"
#include "core/exchange/csv_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  paylark::CsvReader reader(text);
  paylark::CsvRow row;
  std::size_t rows = 0;
  while (reader.Next(row)) {
    if (row.number != ++rows || reader.position() > text.size())
      __builtin_trap();
  }
  const paylark::FixedClock clock(*paylark::OleDateTime::FromCivil(2026, 3, 15, 12));
  const paylark::ImportPlan plan = paylark::PlanCsvImport(text, clock);
  for (const paylark::RefusedRow& refused : plan.refused)
    (void)paylark::RefusalText(refused);
  return 0;
}
