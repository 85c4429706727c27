// Prints "name value" lines for recurring dues. Every figure is measured with the store's
// durability set to unsynced (no fdatasync/syncfs), so the ratio compares the work Paylark does
// rather than the disk's flush latency; both sides of the ratio use the same setting.

#include <string>

#include "bench/bench_support.h"
#include "core/recurrence/new_due.h"
#include "core/recurrence/series_generation.h"

namespace paylark::bench {
namespace {

constexpr int kSeriesLength = 10'000;

DueRecord SheetRecord() {
  DueRecord sheet;
  sheet.title = "Rent";
  sheet.payTo = "Landlord";
  sheet.account = "Checking";
  sheet.amount = 850;
  sheet.notes = "Paid by transfer";
  return sheet;
}

double AddPerRecord(const Clock& clock) {
  ScratchStore scratch(clock);
  const DueRecord sheet = SheetRecord();
  return Seconds([&] {
           for (int i = 0; i < kSeriesLength; ++i)
             (void)scratch.store().Add(sheet);
         }) /
         kSeriesLength;
}

double SeriesPerRecord(const Clock& clock) {
  ScratchStore scratch(clock);
  RecurrencePattern pattern = RecurrencePattern::Defaults(clock.Now());
  pattern.dayInterval = "1";
  pattern.count = std::to_string(kSeriesLength);
  return Seconds([&] {
           const SeriesResult series = GenerateSeries(pattern, scratch.store(), clock);
           (void)CompletePlaceholders(scratch.store(), series.recordIds, SheetRecord(),
                                      DueOffset{});
         }) /
         kSeriesLength;
}

double WeekSeriesMilliseconds(const Clock& clock) {
  ScratchStore scratch(clock);
  RecurrencePattern pattern = RecurrencePattern::Defaults(clock.Now());
  pattern.kind = RecurrenceKind::kWeek;
  pattern.weekInterval = "1";
  pattern.weekdays = {false, true, false, false, false, false, false};
  pattern.rangeStart = OleDateTime::FromCivil(2000, 1, 1).value();
  pattern.rangeEnd = RangeEnd::kByDate;
  pattern.endBy = OleDateTime::FromCivil(2099, 12, 31, 23, 59, 59).value();
  return 1000 * Seconds([&] { (void)GenerateSeries(pattern, scratch.store(), clock); });
}

}  // namespace
}  // namespace paylark::bench

int main() {
  using namespace paylark::bench;
  const paylark::SystemClock clock;
  const double add = AddPerRecord(clock);
  const double series = SeriesPerRecord(clock);
  PrintFigure("series_10k_day_per_record_vs_add", series / add);
  PrintFigure("week_series_100y_ms", WeekSeriesMilliseconds(clock));
  return 0;
}
