// Speed of working with many dues: a search over every due (it follows each keystroke, so one
// query must fit in a 16 ms frame), a due's place in its series, and a year's summary.

#include <clocale>
#include <cstdio>

#include "bench/bench_support.h"
#include "core/records/due_search.h"
#include "core/records/year_summary.h"

namespace paylark::bench {
namespace {

constexpr int kDues = 100'000;
constexpr int kSeriesMembers = 10'000;
constexpr const char* kPayees[] = {"Power company", "Stadtwerke München", "Landlord",
                                   "Telco",         "Городская служба",   "Insurance"};

OleDateTime At(int y, int mo, int d) {
  return *OleDateTime::FromCivil(y, mo, d, 9, 30, 0);
}

// 100,000 dues over 100 months with real-sized texts; the last 10,000 form one series.
void FillStore(RecordStore& store, const Clock& clock) {
  StoreBatch batch(store);
  for (int i = 0; i < kDues; ++i) {
    DueRecord record = DueRecord::WithDefaults(clock);
    record.title = "Monthly bill " + std::to_string(i);
    record.payTo = kPayees[i % 6];
    record.account = "Checking account " + std::to_string(i % 7);
    record.amount = 40 + i % 100;
    record.notes = "Meter reading attached\r\nPaid by transfer from the joint account";
    record.dueDate = At(2020 + (i % 100) / 12, 1 + (i % 100) % 12, 1 + i % 28);
    if (i >= kDues - kSeriesMembers)
      record.seriesId = "recId20200101093000";
    (void)store.Add(record);
  }
  (void)batch.Finish();
}

}  // namespace

int Main() {
  std::setlocale(LC_ALL, "en_US.UTF-8");
  std::setlocale(LC_NUMERIC, "C");
  FixedClock clock(At(2026, 12, 5));
  ScratchStore scratch(clock);
  FillStore(scratch.store(), clock);
  const RecordStore& store = scratch.store();

  std::size_t found = 0;
  PrintFigure("find_index_100k_ms",
              1000 * BestSeconds(3, [&] { found = DueSearch(store).size(); }));
  const DueSearch search(store);
  PrintFigure("find_100k_ms",
              1000 * BestSeconds(5, [&] { found = search.Find("stadtwerke").size(); }));
  PrintFigure("find_100k_miss_ms",
              1000 * BestSeconds(5, [&] { found += search.Find("zzz").size(); }));

  std::string lastMember;
  store.map().ForEach([&](const DueRecord& record) {
    if (!record.seriesId.empty())
      lastMember = record.recordId;
  });
  std::size_t position = 0;
  PrintFigure("series_position_10k_member_us",
              1e6 * BestSeconds(5, [&] {
                position += store.records().SeriesPositionOf(lastMember)->position;
              }));
  Cents total = 0;
  PrintFigure("summary_year_100k_ms",
              1000 * BestSeconds(3, [&] { total += SummarizeYear(store, 2022).wholeYear.total; }));
  std::fprintf(stderr, "(found %zu, position %zu, total %lld)\n", found, position,
               static_cast<long long>(total));
  return 0;
}

}  // namespace paylark::bench

int main() {
  return paylark::bench::Main();
}
