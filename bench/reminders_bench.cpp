// Speed of the reminder selection: one pass over 100,000 loaded dues, as the window does after
// every change and paylark-cli remind does once; and the window's whole count (the dues and the
// contracts to cancel) over a million, which runs on the window's thread after every change.

#include <algorithm>
#include <cstdio>
#include <string>

#include "bench/bench_support.h"
#include "core/reminders/cancel_reminders.h"
#include "core/reminders/reminder_selection.h"

namespace paylark::bench {
namespace {

// Dues spread over 100 months around now; every other one paid, so the selection keeps about
// a quarter of them (the unpaid ones of the months before now).
void FillMap(DueMap& map, int count) {
  for (int i = 0; i < count; ++i) {
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
  FillMap(map, 100'000);
  const OleDateTime now = *OleDateTime::FromCivil(2026, 2, 15, 12, 0, 0);
  std::size_t selected = 0;
  const double seconds = BestSeconds(5, [&] { selected = SelectReminders(map, now, 3).size(); });
  PrintFigure("remind_100k_ms", seconds * 1000.0);
  ReminderSummary summary;
  const double counting = BestSeconds(5, [&] { summary = SummarizeReminders(map, now, 3); });
  PrintFigure("remind_count_100k_ms", counting * 1000.0);
  PrintFigure("remind_100k_selected", static_cast<double>(selected));

  map.Clear();
  FillMap(map, 1'000'000);
  std::size_t cancels = 0;
  const double window = BestSeconds(5, [&] {
    summary = SummarizeReminders(map, now, 3);
    cancels += SelectCancelReminders(map, now, 3).size();
  });
  PrintFigure("remind_window_count_1m_ms", window * 1000.0);
  // The window counts a large map a part of a bucket at a time between its events: the longest
  // part is the longest the count holds the window up.
  double longest = 0;
  for (std::uint32_t bucket = 0; bucket < DueMap::kBucketCount; ++bucket) {
    for (std::uint32_t index = 0; index < kReminderPartsPerBucket; ++index) {
      const BucketPart part{bucket, index, kReminderPartsPerBucket};
      longest = std::max(longest, BestSeconds(3, [&] {
                           ReminderCounter counter(now, 3);
                           CancelReminderCollector collector(now, 3);
                           counter.TakeBucket(map, part);
                           collector.TakeBucket(map, part);
                           cancels += std::move(collector).Finish().size();
                         }));
    }
  }
  PrintFigure("remind_count_slice_1m_ms", longest * 1000.0);
  std::fprintf(stderr, "(overdue %d, contracts %zu)\n", summary.counts.overdue, cancels);
  return 0;
}

}  // namespace paylark::bench

int main() {
  return paylark::bench::Main();
}
