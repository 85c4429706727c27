// Calendar feed and CSV import speed. The import goes through one store batch, so it must cost
// no more per due than adding the same dues one by one.
#include <clocale>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "core/exchange/calendar_feed.h"
#include "core/exchange/csv_export.h"
#include "core/exchange/csv_import.h"

namespace paylark::bench {
namespace {

std::vector<DueRecord> Dues(int count) {
  std::vector<DueRecord> dues;
  for (int i = 0; i < count; ++i) {
    DueRecord due;
    due.recordId = std::to_string(2026120109000000LL + i);
    due.title = "Due number " + std::to_string(i);
    due.startDate = *OleDateTime::FromCivil(2026, 1 + i % 12, 1 + i % 28);
    due.dueDate = *OleDateTime::FromCivil(2026, 1 + i % 12, 1 + i % 28, 9);
    due.payTo = "Payee " + std::to_string(i % 50);
    due.account = "Account " + std::to_string(i % 7);
    due.amount = 10.0 + i % 1000;
    due.paid = i % 2;
    due.notes = "First line of the notes\r\nSecond line, with a comma and \"quotes\"";
    if (i % 10 < 4)
      due.seriesId = "recId" + std::to_string(20261201000000LL + i % 10);
    dues.push_back(due);
  }
  return dues;
}

void CalendarExport(const Clock& clock) {
  const std::vector<DueRecord> dues = Dues(100000);
  const CalendarOptions options{clock.Now(), kDefaultReminderDays};
  std::size_t bytes = 0;
  const double seconds = BestSeconds(3, [&] { bytes = RenderCalendar(dues, options).size(); });
  PrintFigure("ics_export_100k_ms", seconds * 1000);
  PrintFigure("ics_export_100k_mib", static_cast<double>(bytes) / (1 << 20));
}

void CsvImportAgainstAdd(const Clock& clock, Durability durability, std::string_view name) {
  constexpr int kCount = 10000;
  const std::vector<DueRecord> dues = Dues(kCount);
  const std::string csv = RenderCsv(dues);
  const double add = BestSeconds(3, [&] {
    ScratchStore scratch(clock, durability);
    for (const DueRecord& due : dues)
      (void)scratch.store().Add(due);
  });
  const double import = BestSeconds(3, [&] {
    ScratchStore scratch(clock, durability);
    const ImportPlan plan = PlanCsvImport(csv, clock);
    (void)ApplyCsvImport(plan, scratch.store());
  });
  PrintFigure(name, import / add);
}

}  // namespace
}  // namespace paylark::bench

int main(int argc, char** argv) {
  using namespace paylark;
  std::setlocale(LC_ALL, "en_US.UTF-8");
  std::setlocale(LC_NUMERIC, "C");
  const FixedClock clock(*OleDateTime::FromCivil(2026, 12, 5, 14, 30));
  bench::CalendarExport(clock);
  bench::CsvImportAgainstAdd(clock, Durability::kUnsynced, "csv_import_10k_per_record_vs_add");
  // Each synced add flushes its own file; the import flushes once.
  if (argc > 1 && std::string_view(argv[1]) == "--synced") {
    bench::CsvImportAgainstAdd(clock, Durability::kSynced,
                               "csv_import_10k_per_record_vs_add_synced");
  }
  return 0;
}
