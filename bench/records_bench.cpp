// Speed of the record layer: Reload against plain file reading (from the disk and from the page
// cache), Reload's growth with the record count, MonthFill against a plain pass over the map,
// and Add; and what payment details cost: paying against another change of a due, and a load
// of dues half of which carry them against one of dues without. "records_bench payments" runs
// only the payment figures.

#include <fcntl.h>
#include <unistd.h>

#include <optional>
#include <string_view>
#include <vector>

#include "bench/bench_support.h"
#include "core/records/month_selection.h"
#include "core/records/payment.h"
#include "core/records/record_files.h"

namespace paylark::bench {
namespace {

constexpr int kManyRecords = 100'000;
constexpr int kFewRecords = 1'000;
constexpr int kAddedRecords = 10'000;

OleDateTime At(int y, int mo, int d) {
  return *OleDateTime::FromCivil(y, mo, d, 9, 30, 0);
}

// Fills a store with `count` dues spread over 100 months, so one month holds count / 100.
void FillStore(RecordStore& store, const Clock& clock, int count) {
  StoreBatch batch(store);
  for (int i = 0; i < count; ++i) {
    DueRecord record = DueRecord::WithDefaults(clock);
    record.title = "Electricity bill " + std::to_string(i);
    record.payTo = "Power company";
    record.account = "Checking";
    record.amount = 40 + i % 100;
    record.notes = "Meter reading attached\r\nPaid by transfer";
    record.dueDate = At(2020 + (i % 100) / 12, 1 + (i % 100) % 12, 1 + i % 28);
    (void)store.Add(record);
  }
  (void)batch.Finish();
}

// The floor Reload is measured against: open, read and close every file, nothing else.
void RawRead(const std::string& folder, const std::vector<std::string>& names) {
  std::vector<char> buffer(4096);
  for (const std::string& name : names) {
    std::string path = folder + '/';
    path += name;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    while (read(fd, buffer.data(), buffer.size()) > 0) {
    }
    close(fd);
  }
}

double ReloadSeconds(RecordStore& store) {
  return BestSeconds(3, [&] { (void)store.Reload(); });
}

// Empties the kernel's page, inode and name caches, so that the next read comes from the disk
// as at the first start after a boot. Only root may.
bool DropCaches() {
  sync();
  const int fd = open("/proc/sys/vm/drop_caches", O_WRONLY | O_CLOEXEC);
  if (fd < 0)
    return false;
  const bool dropped = write(fd, "3", 1) == 1;
  close(fd);
  return dropped;
}

// The fastest of a few runs of `work`, each started on empty caches.
template <class Work>
std::optional<double> ColdSeconds(Work&& work) {
  std::optional<double> best;
  for (int run = 0; run < 3; ++run) {
    if (!DropCaches())
      return std::nullopt;
    const double seconds = Seconds(work);
    best = std::min(best.value_or(seconds), seconds);
  }
  return best;
}

// Pays every other due with a paid amount and a bank reference.
void PayHalf(RecordStore& store, const Clock& clock) {
  StoreBatch batch(store);
  std::vector<std::string> ids;
  store.map().ForEach([&](const DueRecord& record) { ids.push_back(record.recordId); });
  for (std::size_t i = 0; i < ids.size(); i += 2) {
    DueRecord record = store.Get(ids[i]);
    MarkPaid(record, clock.Now(), {std::nullopt, record.amount + 1.25, "FITID-" + ids[i], "", ""});
    (void)store.Replace(record);
  }
  (void)batch.Finish();
}

// Pays every other due in three parts, each with its own date and bank reference.
void PayHalfInParts(RecordStore& store, const Clock& clock) {
  StoreBatch batch(store);
  std::vector<std::string> ids;
  store.map().ForEach([&](const DueRecord& record) { ids.push_back(record.recordId); });
  for (std::size_t i = 0; i < ids.size(); i += 2) {
    DueRecord record = store.Get(ids[i]);
    const double third = record.amount / 3;
    for (int part = 1; part <= 3; ++part) {
      const std::string reference = "FITID-" + ids[i] + "-" + std::to_string(part);
      (void)Pay(record, clock.Now(), {std::nullopt, third, reference, "", ""});
    }
    (void)store.Replace(record);
  }
  (void)batch.Finish();
}

// Marking a due paid against another one-due change (its title), each written to its file.
void PaymentFigures(const Clock& clock) {
  ScratchStore changes(clock);
  FillStore(changes.store(), clock, kFewRecords);
  std::vector<std::string> ids;
  changes.store().map().ForEach([&](const DueRecord& record) { ids.push_back(record.recordId); });
  auto modifyAll = [&] {
    for (const std::string& id : ids) {
      DueRecord record = changes.store().Get(id);
      record.title += "x";
      (void)changes.store().Replace(record);
    }
  };
  auto payAll = [&] {
    for (const std::string& id : ids) {
      DueRecord record = changes.store().Get(id);
      MarkPaid(record, clock.Now(), {std::nullopt, std::nullopt, "FITID-" + id, "", ""});
      (void)changes.store().Replace(record);
    }
  };
  // Taken in turns, so that a busy moment of the machine falls on both alike.
  double modify = Seconds(modifyAll);
  double pay = Seconds(payAll);
  for (int run = 1; run < 5; ++run) {
    modify = std::min(modify, Seconds(modifyAll));
    pay = std::min(pay, Seconds(payAll));
  }
  PrintFigure("pay_1k_per_record_vs_modify", pay / modify);

  ScratchStore without(clock);
  FillStore(without.store(), clock, kManyRecords);
  ScratchStore with(clock);
  FillStore(with.store(), clock, kManyRecords);
  PayHalf(with.store(), clock);
  double plain = Seconds([&] { (void)without.store().Reload(); });
  double extended = Seconds([&] { (void)with.store().Reload(); });
  for (int run = 1; run < 3; ++run) {
    plain = std::min(plain, Seconds([&] { (void)without.store().Reload(); }));
    extended = std::min(extended, Seconds([&] { (void)with.store().Reload(); }));
  }
  PrintFigure("load_100k_with_extension_vs_without", extended / plain);

  ScratchStore inParts(clock);
  FillStore(inParts.store(), clock, kManyRecords);
  PayHalfInParts(inParts.store(), clock);
  double parts = Seconds([&] { (void)inParts.store().Reload(); });
  plain = Seconds([&] { (void)without.store().Reload(); });
  for (int run = 1; run < 3; ++run) {
    plain = std::min(plain, Seconds([&] { (void)without.store().Reload(); }));
    parts = std::min(parts, Seconds([&] { (void)inParts.store().Reload(); }));
  }
  PrintFigure("load_100k_with_parts_vs_without", parts / plain);
}

}  // namespace

int Main(int argc, char** argv) {
  FixedClock clock(At(2026, 12, 5));
  if (argc > 1 && std::string_view(argv[1]) == "payments") {
    PaymentFigures(clock);
    return 0;
  }

  ScratchStore many(clock);
  FillStore(many.store(), clock, kManyRecords);
  const RecordFolder folder(SystemFileSystem(), RecordsFolderPath(many.store().workingDirectory()));
  const std::vector<std::string> names = folder.ListRecordFiles().value();
  // Reload keeps several reads in flight, which is what a disk rewards: from the disk it is
  // measured against one read after another. From the page cache both are bound by the processor.
  const std::optional<double> coldReload = ColdSeconds([&] { (void)many.store().Reload(); });
  const std::optional<double> coldRaw = ColdSeconds([&] { RawRead(folder.path(), names); });
  if (coldReload && coldRaw)
    PrintFigure("reload_100k_vs_raw_read", *coldReload / *coldRaw);
  else
    std::fprintf(stderr, "(reload_100k_vs_raw_read empties the page cache, which needs root)\n");
  const double reloadMany = ReloadSeconds(many.store());
  const double rawMany = BestSeconds(3, [&] { RawRead(folder.path(), names); });
  PrintFigure("reload_100k_vs_raw_read_warm", reloadMany / rawMany);

  ScratchStore few(clock);
  FillStore(few.store(), clock, kFewRecords);
  const double reloadFew = ReloadSeconds(few.store());
  PrintFigure("reload_per_file_100k_vs_1k",
              (reloadMany / kManyRecords) / (reloadFew / kFewRecords));

  const OleDateTime month = At(2022, 5, 1);  // one of the 100 months
  std::size_t listed = 0;
  const double fill = BestSeconds(
      5, [&] { listed = MonthFill(many.store(), month, MonthFilter::kAll).rows.size(); });
  double sum = 0;
  const double scan = BestSeconds(5, [&] {
    many.store().map().ForEach([&](const DueRecord& r) { sum += r.dueDate.value(); });
  });
  PrintFigure("monthfill_100k_vs_scan", fill / scan);
  std::fprintf(stderr, "(month of %zu dues; checksum %.0f)\n", listed, sum);

  // Every Add writes its record file and the change marker. Flushing to disk dominates the
  // synced figure, so it is measured on fewer records.
  const DueRecord record = DueRecord::WithDefaults(clock);
  ScratchStore unsynced(clock, Durability::kUnsynced);
  PrintFigure("add_10k_per_record_us", Seconds([&] {
                                         for (int i = 0; i < kAddedRecords; ++i)
                                           (void)unsynced.store().Add(record);
                                       }) / kAddedRecords *
                                           1e6);
  ScratchStore synced(clock, Durability::kSynced);
  PrintFigure("add_1k_synced_per_record_us", Seconds([&] {
                                               for (int i = 0; i < kFewRecords; ++i)
                                                 (void)synced.store().Add(record);
                                             }) / kFewRecords *
                                                 1e6);
  PaymentFigures(clock);
  return 0;
}

}  // namespace paylark::bench

int main(int argc, char** argv) {
  return paylark::bench::Main(argc, argv);
}
