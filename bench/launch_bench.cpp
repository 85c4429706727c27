// Times the start a user sees: the real paylark executable launched as a fresh process on a
// working directory of 10, 100,000 and 1,000,000 dues, from just before exec to the moment the
// window reports the month list's first painted rows ("launch_to_month_<size>_ms", the median
// of five launches), the processor time it took to get there, which the rest of a busy machine
// does not inflate ("launch_cpu_to_month_<size>_ms"), and the memory the process holds then
// ("rss_<size>_mib", "peak_rss_…"); one more launch reports the longest the event loop went
// without turning in the five seconds after the first frame ("ui_stall_after_paint_<size>_ms").
// Every launch finds the snapshot written and the files in the page cache (a launch before the
// timed ones sees to both), and a data folder of its own, so that it is the day's first start,
// which takes the day's backup. The same five launches of launch_floor, a bare Qt window with a
// table of ten rows, give the machine's floor under any such start ("launch_floor_ms",
// "launch_cpu_floor_ms"). The window runs under a private Xvfb, or on the offscreen
// platform when Xvfb is missing (the line "launch_platform" says which). The working
// directories are written once and kept in the build folder.
//
//   launch_bench [10] [100k] [1m] [--timeline] [--executable PATH] [--no-snapshot]
//
// --timeline also prints the steps of each size's launch that watches the event loop
// ("paylark-start" marks, each stall of over a frame among them) in milliseconds after exec;
// --executable times another build of paylark (a copy kept for a comparison); --no-snapshot times
// one start without the snapshot instead
// ("launch_to_month_<size>_no_snapshot_ms").
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/base/clock.h"
#include "core/records/record_codec.h"
#include "core/records/record_files.h"
#include "tests/support/build_paths.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

constexpr int kTimedLaunches = 5;
constexpr const char* kMark = "paylark-start ";
constexpr const char* kPaintedMark = "month painted";
constexpr const char* kCheckedMark = "folder check ended";
constexpr const char* kStallMark = "longest stall ";
// How long a launch may print nothing before it is closed.
constexpr int kSilentMilliseconds = 20'000;

double MonotonicMilliseconds() {
  return std::chrono::duration<double, std::milli>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

struct Size {
  const char* name;
  int dues;
};

// `count` dues spread over the 100 months around the current one, written straight to files.
void WriteWorkingDirectory(const fs::path& directory, int count) {
  const paylark::SystemClock clock;
  const paylark::CivilDateTime now = clock.Now().ToCivil();
  const int firstMonth = now.year * 12 + (now.month - 1) - 50;
  const std::string folder = paylark::RecordsFolderPath(directory.string());
  fs::create_directories(folder);
  for (int i = 0; i < count; ++i) {
    paylark::DueRecord record = paylark::DueRecord::WithDefaults(clock);
    record.recordId = std::to_string(2026010100000000LL + i);
    record.title = "Due " + std::to_string(i);
    record.payTo = "Payee " + std::to_string(i % 97);
    record.amount = 10.0 + i % 500;
    record.paid = i % 3 == 0 ? 1 : 0;
    const int month = firstMonth + (50 + i) % 100;  // the current month first
    record.dueDate = *paylark::OleDateTime::FromCivil(month / 12, month % 12 + 1, 1 + i % 28);
    std::ofstream(folder + "/duedate" + record.recordId + ".due", std::ios::binary)
        << paylark::EncodeRecord(record);
  }
}

// The working directory, written once per size, and the settings that name it, written at every
// run so that a moved build folder still finds it.
fs::path PrepareWorkingDirectory(const fs::path& data, const Size& size) {
  fs::path root = data / (std::string("launch-") + size.name);
  const fs::path complete = root / "complete";
  if (!fs::exists(complete)) {
    std::fprintf(stderr, "writing %d dues to %s\n", size.dues, root.c_str());
    fs::remove_all(root);
    WriteWorkingDirectory(root / "work", size.dues);
    std::ofstream(complete) << "done\n";
  }
  fs::create_directories(root / "config" / "Velmora");
  std::ofstream(root / "config" / "Velmora" / "Paylark.conf")
      << "[Directory]\nPath=" << (root / "work").string() << "\n";
  return root;
}

// A private X server; its display number comes back through -displayfd once it accepts clients.
// A desktop's X server always has other clients and never resets between two starts; Xvfb
// resets whenever its last client leaves, and compiles its keymap again with xkbcomp (about
// 40 ms of processor time), which the next launch's connection would wait for: -noreset.
class VirtualDisplay {
 public:
  VirtualDisplay() {
    int ready[2];
    if (pipe(ready) != 0)
      return;
    server_ = fork();
    if (server_ == 0) {
      close(ready[0]);
      const std::string fd = std::to_string(ready[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1920x1080x24", "-nolisten",
             "tcp", "-noreset", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(ready[1]);
    // The server writes the number and the line's end apart; it fails when the pipe closes
    // between them.
    std::string number;
    char byte = 0;
    while (read(ready[0], &byte, 1) == 1 && byte != '\n')
      number += byte;
    close(ready[0]);
    if (byte == '\n' && !number.empty())
      display_ = ":" + number;
  }
  ~VirtualDisplay() {
    if (server_ > 0) {
      kill(server_, SIGTERM);
      waitpid(server_, nullptr, 0);
    }
  }
  VirtualDisplay(const VirtualDisplay&) = delete;
  VirtualDisplay& operator=(const VirtualDisplay&) = delete;

  // Empty when no Xvfb started.
  const std::string& display() const { return display_; }

 private:
  pid_t server_ = -1;
  std::string display_;
};

struct Launch {
  double paintedMilliseconds = 0;  // after exec; 0 when the window never reported it
  double residentMebibytes = 0;
  double peakMebibytes = 0;
  double processorMilliseconds = 0;                   // of every thread, user and system
  double stallMilliseconds = -1;                      // -1 when not watched
  std::vector<std::pair<double, std::string>> marks;  // milliseconds after exec
};

double StatusMebibytes(pid_t process, const char* field) {
  std::ifstream status("/proc/" + std::to_string(process) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with(field))
      return std::stod(line.substr(std::strlen(field))) / 1024.0;
  }
  return 0;
}

// The processor time the process has taken so far, which another program on the machine delays
// but does not add to.
double ProcessorMilliseconds(pid_t process) {
  std::ifstream stat("/proc/" + std::to_string(process) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const std::size_t afterName = text.rfind(')');
  if (afterName == std::string::npos)
    return 0;
  std::istringstream fields(text.substr(afterName + 2));
  std::string field;
  double ticks = 0;
  for (int index = 3; fields >> field && index <= 15; ++index) {
    if (index == 14 || index == 15)  // utime, stime
      ticks += std::stod(field);
  }
  return ticks * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
}

std::vector<std::string> ChildEnvironment(const fs::path& root, const fs::path& scratch,
                                          const std::string& display) {
  std::vector<std::string> environment;
  for (char** entry = environ; *entry; ++entry) {
    const std::string_view variable(*entry);
    if (!variable.starts_with("XDG_") && !variable.starts_with("DISPLAY=") &&
        !variable.starts_with("QT_QPA_PLATFORM=") && !variable.starts_with("WAYLAND_DISPLAY="))
      environment.emplace_back(variable);
  }
  environment.push_back("XDG_CONFIG_HOME=" + (root / "config").string());
  environment.push_back("XDG_CACHE_HOME=" + (root / "cache").string());
  environment.push_back("XDG_DATA_HOME=" + (scratch / "data").string());
  environment.push_back("XDG_RUNTIME_DIR=" + scratch.string());
  environment.push_back("PAYLARK_START_TIMELINE=1");
  if (display.empty()) {
    environment.push_back("QT_QPA_PLATFORM=offscreen");
  } else {
    environment.push_back("QT_QPA_PLATFORM=xcb");
    environment.push_back("DISPLAY=" + display);
  }
  return environment;
}

enum class Until { kPainted, kChecked, kStallsWatched };

// Starts the program, follows its marks until the month is painted, takes its memory and asks
// it to close (as a logout does) then or once the folder check has ended (and written the
// snapshot again when it had to), then reads the rest of its marks.
Launch LaunchOnce(const char* executable, const fs::path& root, const std::string& display,
                  Until until) {
  char scratchName[] = "/tmp/paylark-launch-XXXXXX";
  const fs::path scratch = mkdtemp(scratchName);
  const std::vector<std::string> environment = ChildEnvironment(root, scratch, display);
  std::vector<char*> envp;
  envp.reserve(environment.size() + 1);
  for (const std::string& variable : environment)
    envp.push_back(const_cast<char*>(variable.c_str()));
  envp.push_back(nullptr);

  int marks[2];
  int started[2];
  if (pipe(marks) != 0 || pipe2(started, O_CLOEXEC) != 0)
    return {};
  const pid_t child = fork();
  if (child == 0) {
    close(marks[0]);
    close(started[0]);
    dup2(marks[1], STDERR_FILENO);
    const int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, STDOUT_FILENO);
    const double now = MonotonicMilliseconds();
    (void)!write(started[1], &now, sizeof now);
    char* argv[] = {const_cast<char*>(executable), nullptr};
    execve(executable, argv, envp.data());
    _exit(127);
  }
  close(marks[1]);
  close(started[1]);
  double launched = 0;
  (void)!read(started[0], &launched, sizeof launched);
  close(started[0]);

  Launch launch;
  FILE* output = fdopen(marks[0], "r");
  // Unbuffered, so that a line not yet read is still in the pipe, where poll sees it.
  std::setvbuf(output, nullptr, _IONBF, 0);
  char line[4096];
  bool closing = false;
  pollfd waiting{marks[0], POLLIN, 0};
  for (;;) {
    // A build that never reports the awaited step (an older one, say) is closed all the same.
    if (!closing && poll(&waiting, 1, kSilentMilliseconds) == 0) {
      kill(child, SIGTERM);
      closing = true;
    }
    if (!std::fgets(line, sizeof line, output))
      break;
    const std::string text(line, std::strcspn(line, "\n"));
    if (!text.starts_with(kMark))
      continue;
    char* rest = nullptr;
    const double at = std::strtod(text.c_str() + std::strlen(kMark), &rest) - launched;
    const std::string what = rest && *rest ? std::string(rest + 1) : std::string();
    launch.marks.emplace_back(at, what);
    if (what.starts_with(kPaintedMark)) {
      launch.paintedMilliseconds = at;
      launch.residentMebibytes = StatusMebibytes(child, "VmRSS:");
      launch.peakMebibytes = StatusMebibytes(child, "VmHWM:");
      launch.processorMilliseconds = ProcessorMilliseconds(child);
    }
    if (what.starts_with(kStallMark))
      launch.stallMilliseconds = std::strtod(what.c_str() + std::strlen(kStallMark), nullptr);
    const char* last = until == Until::kPainted   ? kPaintedMark
                       : until == Until::kChecked ? kCheckedMark
                                                  : kStallMark;
    if (!closing && what.starts_with(last)) {
      kill(child, SIGTERM);
      closing = true;
    }
  }
  std::fclose(output);
  waitpid(child, nullptr, 0);
  fs::remove_all(scratch);
  return launch;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

struct Options {
  std::vector<Size> sizes;
  bool timeline = false;
  const char* executable = kPaylarkExecutable;
  bool withoutSnapshot = false;
};

// One start that finds no snapshot and reads every file (with a warm page cache); it writes the
// snapshot again before it closes.
void MeasureWithoutSnapshot(const Options& options, const Size& size, const fs::path& root,
                            const std::string& display) {
  fs::remove_all(root / "cache");
  const Launch launch = LaunchOnce(options.executable, root, display, Until::kChecked);
  std::printf("launch_to_month_%s_no_snapshot_ms %.0f\n", size.name, launch.paintedMilliseconds);
  std::printf("launch_cpu_to_month_%s_no_snapshot_ms %.0f\n", size.name,
              launch.processorMilliseconds);
  std::fflush(stdout);
  if (!options.timeline)
    return;
  for (const auto& [at, what] : launch.marks)
    std::printf("  %8.1f ms  %s\n", at, what.c_str());
}

// What the bare Qt window takes to paint its table, timed as paylark is after one launch that
// warms the page cache.
void MeasureFloor(const std::string& display) {
  const fs::path root = fs::path(kBenchDataFolder) / "launch-floor";
  fs::create_directories(root);
  std::vector<double> painted;
  std::vector<double> processor;
  for (int run = 0; run <= kTimedLaunches; ++run) {
    const Launch launch = LaunchOnce(kLaunchFloorExecutable, root, display, Until::kPainted);
    if (launch.paintedMilliseconds == 0) {
      std::fprintf(stderr, "%s ended before its table was painted\n", kLaunchFloorExecutable);
      return;
    }
    if (run > 0) {
      painted.push_back(launch.paintedMilliseconds);
      processor.push_back(launch.processorMilliseconds);
    }
  }
  std::printf("launch_floor_ms %.0f\n", Median(painted));
  std::printf("launch_cpu_floor_ms %.0f\n", Median(processor));
  std::fflush(stdout);
}

void Measure(const Options& options, const Size& size, const std::string& display) {
  const fs::path root = PrepareWorkingDirectory(kBenchDataFolder, size);
  // The first launch may write the snapshot, and the check of the second one writes it again
  // when it lacked files too young to trust; both leave the page cache warm.
  for (int warm = 0; warm < 2; ++warm) {
    if (LaunchOnce(options.executable, root, display, Until::kChecked).paintedMilliseconds == 0) {
      std::fprintf(stderr, "%s did not report its painted month on %s\n", options.executable,
                   root.c_str());
      return;
    }
  }
  if (options.withoutSnapshot) {
    MeasureWithoutSnapshot(options, size, root, display);
    return;
  }
  std::vector<double> painted;
  std::vector<double> resident;
  std::vector<double> peak;
  std::vector<double> processor;
  for (int run = 0; run < kTimedLaunches; ++run) {
    const Launch last = LaunchOnce(options.executable, root, display, Until::kPainted);
    if (last.paintedMilliseconds == 0) {
      std::fprintf(stderr, "%s ended before its month was painted\n", options.executable);
      return;
    }
    painted.push_back(last.paintedMilliseconds);
    resident.push_back(last.residentMebibytes);
    peak.push_back(last.peakMebibytes);
    processor.push_back(last.processorMilliseconds);
  }
  std::printf("launch_to_month_%s_ms %.0f\n", size.name, Median(painted));
  std::printf("launch_cpu_to_month_%s_ms %.0f\n", size.name, Median(processor));
  std::printf("rss_%s_mib %.0f\n", size.name, Median(resident));
  std::printf("peak_rss_%s_mib %.0f\n", size.name, Median(peak));
  const Launch watched = LaunchOnce(options.executable, root, display, Until::kStallsWatched);
  std::printf("ui_stall_after_paint_%s_ms %.1f\n", size.name, watched.stallMilliseconds);
  std::fflush(stdout);
  if (!options.timeline)
    return;
  // The watched launch's steps run on to the end of the watch, with each stall among them.
  for (const auto& [at, what] : watched.marks)
    std::printf("  %8.1f ms  %s\n", at, what.c_str());
}

}  // namespace

int main(int argc, char* argv[]) {
  const Size sizes[] = {{"10", 10}, {"100k", 100'000}, {"1m", 1'000'000}};
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--timeline")
      options.timeline = true;
    if (argument == "--no-snapshot")
      options.withoutSnapshot = true;
    if (argument == "--executable" && i + 1 < argc)
      options.executable = argv[++i];
    for (const Size& size : sizes) {
      if (argument == size.name)
        options.sizes.push_back(size);
    }
  }
  if (options.sizes.empty())
    options.sizes.assign(std::begin(sizes), std::end(sizes));
  std::signal(SIGPIPE, SIG_IGN);
  const VirtualDisplay display;
  std::printf("launch_platform %s\n", display.display().empty() ? "offscreen" : "xvfb");
  if (!options.withoutSnapshot)
    MeasureFloor(display.display());
  for (const Size& size : options.sizes)
    Measure(options, size, display.display());
  return 0;
}
