// Speed of the reminder selection: one pass over 100,000 loaded dues, as the window does after
// every change and paylark-cli remind does once.

#include <cstdio>
#include <string>

#include "bench/bench_support.h"
#include "core/reminders/reminder_selection.h"

namespace paylark::bench {
namespace {

constexpr int kManyRecords = 100'000;

// Dues spread over 100 months around now; every other one paid, so the selection keeps about
// a quarter of them (the unpaid ones of the months before now).
void FillMap(DueMap& map) {
  for (int i = 0; i < kManyRecords; ++i) {
    DueRecord record;
    record.recordId = std::to_string(20220101000000 + i) + "10";
    record.title = "Electricity bill " + std::to_string(i);
    record.payTo = "Power company";
    record.amount = 40 + i % 100;
    record.paid = i % 2;
    record.dueDate =
        *OleDateTime::FromCivil(2022 + (i % 100) / 12, 1 + (i % 100) % 12, 1 + i % 28, 9, 30, 0);
    map.Set(record.recordId, record);
  }
}

}  // namespace

int Main() {
  DueMap map;
  FillMap(map);
  const OleDateTime now = *OleDateTime::FromCivil(2026, 2, 15, 12, 0, 0);
  std::size_t selected = 0;
  const double seconds = BestSeconds(5, [&] { selected = SelectReminders(map, now, 3).size(); });
  PrintFigure("remind_100k_ms", seconds * 1000.0);
  ReminderSummary summary;
  const double counting = BestSeconds(5, [&] { summary = SummarizeReminders(map, now, 3); });
  PrintFigure("remind_count_100k_ms", counting * 1000.0);
  PrintFigure("remind_100k_selected", static_cast<double>(selected));
  return 0;
}

}  // namespace paylark::bench

int main() {
  return paylark::bench::Main();
}
