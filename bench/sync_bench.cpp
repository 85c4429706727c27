// Speed of following a synced records folder: reloading the one file another device changed,
// among 100,000, as the window does when its folder watch reports a change.

#include <filesystem>
#include <fstream>

#include "bench/bench_support.h"
#include "core/records/record_codec.h"

namespace paylark::bench {
namespace {

constexpr int kManyRecords = 100'000;

OleDateTime At(int y, int mo, int d) {
  return *OleDateTime::FromCivil(y, mo, d, 9, 30, 0);
}

}  // namespace

int Main() {
  FixedClock clock(At(2026, 12, 5));
  ScratchStore many(clock);
  {
    StoreBatch batch(many.store());
    for (int i = 0; i < kManyRecords; ++i) {
      DueRecord record = DueRecord::WithDefaults(clock);
      record.title = "Electricity bill " + std::to_string(i);
      record.dueDate = At(2020 + (i % 100) / 12, 1 + (i % 100) % 12, 1 + i % 28);
      (void)many.store().Add(record);
    }
    (void)batch.Finish();
  }
  std::string id;
  many.store().map().ForEach([&](const DueRecord& record) { id = record.recordId; });
  DueRecord changed = many.store().Get(id);
  const std::string name = "duedate" + id + ".due";
  const std::filesystem::path path =
      std::filesystem::path(RecordsFolderPath(many.store().workingDirectory())) / name;

  int round = 0;
  const double seconds = BestSeconds(20, [&] {
    changed.amount = ++round;
    std::ofstream(path, std::ios::binary | std::ios::trunc) << EncodeRecord(changed);
    (void)many.store().ReloadFiles({name});
  });
  PrintFigure("watch_reload_one_of_100k_ms", seconds * 1e3);
  return many.store().Get(id).amount == round ? 0 : 1;
}

}  // namespace paylark::bench

int main() {
  return paylark::bench::Main();
}
