// Times the month list refill: RefreshMonth of a month holding 10,000 dues, followed by the
// list view painting one screenful, on the offscreen platform ("ui_refresh_10k_ms", the median
// of several runs); the start of a window on 100,000 dues with the snapshot present, from an
// empty process state to the painted month ("window_start_100k_ms", the median of five starts),
// the memory it then holds ("rss_100k_mib"), and the switch to the next month among them
// ("month_switch_100k_ms", median). A start from the snapshot is followed by the folder check,
// which ends before the memory is taken and before the next start. With PAYLARK_BENCH_MILLION set,
// the same for 1,000,000 dues
// ("…_1m_…"). Then the forecast window opened over 100,000 dues of which 50,000 are coming within
// its 90 days, from construction to the painted register ("forecast_window_open_100k_ms",
// median).
#include <malloc.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QTemporaryDir>

#include "core/base/clock.h"
#include "core/records/record_codec.h"
#include "core/records/record_files.h"
#include "core/records/record_store.h"
#include "ui/base/paylark_app.h"
#include "ui/base/prompt.h"
#include "ui/base/resources.h"
#include "ui/base/start_load.h"
#include "ui/base/system_desktop_services.h"
#include "ui/forecast/forecast_window.h"
#include "ui/shell/main_window.h"
#include "ui/shell/month_list_model.h"
#include "ui/shell/month_list_view.h"
#include "ui/widgets/display_style.h"

namespace {

class SilentPrompt final : public paylark::Prompt {
 public:
  paylark::PromptAnswer Ask(QWidget*, const QString&, paylark::PromptButtons,
                            paylark::PromptIcon) override {
    return paylark::PromptAnswer::kOk;
  }
};

class NoDialogs final : public paylark::DialogCommands {
 public:
  paylark::EditOutcome NewDue(QWidget*) override { return paylark::EditOutcome::kNothingChanged; }
  paylark::EditOutcome ModifyDue(QWidget*, const std::string&) override {
    return paylark::EditOutcome::kNothingChanged;
  }
  void Print(QWidget*) override {}
};

double Milliseconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

double Median(std::vector<double> runs) {
  std::sort(runs.begin(), runs.end());
  return runs[runs.size() / 2];
}

// Writes `count` record files spread over 100 months straight to the folder, so that no map of
// them stays in this process's memory.
void WriteRecordFiles(const QString& workingDirectory, const paylark::Clock& clock, int count) {
  const std::string folder = paylark::RecordsFolderPath(workingDirectory.toStdString());
  QDir().mkpath(QString::fromStdString(folder));
  for (int i = 0; i < count; ++i) {
    paylark::DueRecord record = paylark::DueRecord::WithDefaults(clock);
    record.recordId = std::to_string(2026010100000000LL + i);
    record.title = "Due " + std::to_string(i);
    record.amount = 10.0 + i % 500;
    record.dueDate =
        *paylark::OleDateTime::FromCivil(2020 + (i % 100) / 12, 1 + (i % 100) % 12, 1 + i % 28);
    std::ofstream(folder + "/duedate" + record.recordId + ".due", std::ios::binary)
        << paylark::EncodeRecord(record);
  }
  // On disk before any start is timed: a user's files are not being written back as Paylark
  // starts, and writing back a million new files would take a core from the start.
  sync();
}

double ResidentMebibytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmRSS:"))
      return std::stod(line.substr(6)) / 1024.0;
  }
  return 0;
}

// The folder check that follows a start from the snapshot; the window reloads when it must.
void WaitForCheck(paylark::StartLoad& load, paylark::MainWindow& frame) {
  QEventLoop loop;
  QObject::connect(&load, &paylark::StartLoad::Checked, &loop, [&](bool reloaded) {
    if (reloaded)
      frame.RefreshKeepingSelection();
    loop.quit();
  });
  load.Check(&frame);
  if (load.checking())
    loop.exec();
}

// `count` dues over 100 months, written once; then windows are started on them. The figures'
// names carry `size` ("100k", "1m").
void StartAndSwitchOnManyDues(const paylark::Clock& clock, paylark::Prompt& prompt,
                              paylark::DesktopServices& desktop, int count, const char* size) {
  QTemporaryDir folder;
  QTemporaryDir cache;
  qputenv("XDG_CACHE_HOME", cache.path().toUtf8());
  WriteRecordFiles(folder.path(), clock, count);
  NoDialogs dialogs;
  // The first start reads every file and writes the snapshot, the second reads the files that
  // were too young to trust then; the rest start from the snapshot, as a user's would.
  constexpr int kRuns = 7;
  std::vector<double> starts;
  for (int run = 0; run < kRuns; ++run) {
    const auto start = std::chrono::steady_clock::now();
    paylark::PaylarkApp app(clock, prompt, desktop, paylark::SystemFileSystem());
    app.SetWorkingDirectory(folder.path().toStdString());
    paylark::StartLoad load(app);
    (void)load.Load();
    paylark::MainWindow frame(app, dialogs);
    frame.resize(1280, 800);
    frame.show();
    frame.view().viewport()->repaint();
    starts.push_back(Milliseconds(start));
    WaitForCheck(load, frame);
    if (run < kRuns - 1)
      continue;
    // Resident memory also holds what the earlier starts freed; the heap in use does not.
    std::printf("rss_%s_mib %.0f\n", size, ResidentMebibytes());
    const struct mallinfo2 heap = mallinfo2();
    std::printf("heap_in_use_%s_mib %.0f\n", size,
                static_cast<double>(heap.uordblks + heap.hblkhd) / (1024.0 * 1024.0));
    std::vector<double> switches;
    for (int month = 0; month < 9; ++month) {
      const auto before = std::chrono::steady_clock::now();
      frame.ShiftMonth(1);
      frame.view().viewport()->repaint();
      switches.push_back(Milliseconds(before));
    }
    std::printf("month_switch_%s_ms %.1f\n", size, Median(switches));
  }
  std::printf("window_start_%s_ms %.1f\n", size,
              Median(std::vector<double>(starts.begin() + 2, starts.end())));
  std::printf("window_start_%s_no_snapshot_ms %.1f\n", size, starts[0]);
}

void AddMonthOfDues(paylark::RecordStore& store, const paylark::Clock& clock, int count) {
  paylark::StoreBatch batch(store);
  for (int i = 0; i < count; ++i) {
    paylark::DueRecord record = paylark::DueRecord::WithDefaults(clock);
    record.title = "Due " + std::to_string(i);
    record.payTo = "Payee " + std::to_string(i % 97);
    record.amount = 10.0 + i % 500;
    record.paid = i % 3 == 0 ? 1 : 0;
    record.dueDate = *paylark::OleDateTime::FromCivil(2026, 3, 1 + i % 31, i % 24, i % 60);
    (void)store.Add(record);
  }
  (void)batch.Finish();
}

// Half the dues are coming within the forecast's 90 days, the other half were paid a year ago.
void OpenForecastOnManyDues(const paylark::Clock& clock, paylark::Prompt& prompt,
                            paylark::DesktopServices& desktop) {
  QTemporaryDir folder;
  paylark::PaylarkApp app(clock, prompt, desktop, paylark::SystemFileSystem());
  app.store().SetDurability(paylark::Durability::kUnsynced);
  app.SetWorkingDirectory(folder.path().toStdString());
  {
    paylark::StoreBatch batch(app.store());
    for (int i = 0; i < 100'000; ++i) {
      paylark::DueRecord record = paylark::DueRecord::WithDefaults(clock);
      record.title = "Due " + std::to_string(i);
      record.account = "Checking";
      record.amount = 10.0 + i % 500;
      const bool coming = i % 2 == 0;
      record.paid = coming ? 0 : 1;
      record.dueDate = *clock.Now().AddDays(coming ? 1 + (i / 2) % 89 : -365 + i % 300);
      (void)app.store().Add(record);
    }
    (void)batch.Finish();
  }
  std::vector<double> opens;
  int rows = 0;
  for (int run = 0; run < 5; ++run) {
    const auto start = std::chrono::steady_clock::now();
    paylark::ForecastWindow window(app.store(), clock, prompt);
    window.show();
    window.repaint();
    opens.push_back(Milliseconds(start));
    rows = static_cast<int>(window.forecast().items.size());
  }
  std::printf("forecast_window_open_100k_ms %.1f\n", Median(opens));
  std::printf("forecast_window_open_100k_rows %d\n", rows);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "C");
  paylark::InitResources();
  paylark::ApplyDisplayStyle(application);

  QTemporaryDir folder;
  paylark::FixedClock clock(*paylark::OleDateTime::FromCivil(2026, 3, 15, 10));
  SilentPrompt prompt;
  paylark::SystemDesktopServices desktop;
  paylark::PaylarkApp app(clock, prompt, desktop, paylark::SystemFileSystem());
  app.store().SetDurability(paylark::Durability::kUnsynced);
  app.SetWorkingDirectory(folder.path().toStdString());
  constexpr int kDues = 10000;
  AddMonthOfDues(app.store(), clock, kDues);

  NoDialogs dialogs;
  paylark::MainWindow frame(app, dialogs);
  frame.resize(1280, 800);
  frame.show();
  QApplication::processEvents();

  std::vector<double> runs;
  for (int run = 0; run < 7; ++run) {
    const auto start = std::chrono::steady_clock::now();
    frame.RefreshMonth();
    frame.view().viewport()->repaint();
    const auto end = std::chrono::steady_clock::now();
    runs.push_back(std::chrono::duration<double, std::milli>(end - start).count());
  }
  std::sort(runs.begin(), runs.end());
  std::printf("ui_refresh_10k_ms %.1f\n", runs[runs.size() / 2]);
  std::printf("ui_refresh_10k_rows %d\n", frame.view().model().rowCount());
  StartAndSwitchOnManyDues(clock, prompt, desktop, 100'000, "100k");
  OpenForecastOnManyDues(clock, prompt, desktop);
  // A million files take minutes to write and about 4 GB of disk blocks: only when asked.
  if (qEnvironmentVariableIsSet("PAYLARK_BENCH_MILLION"))
    StartAndSwitchOnManyDues(clock, prompt, desktop, 1'000'000, "1m");
  return 0;
}
